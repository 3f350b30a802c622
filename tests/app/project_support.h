// Shared set-up of the project-model tests: the input tables with the
// program's project in a temporary folder, data files written from text,
// and a snapshot of everything a saved project keeps.
#pragma once

#include <gtest/gtest.h>

#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

#include "model/InputTables.h"
#include "model/NumberFormat.h"
#include "model/ProgramData.h"
#include "qstring_printer.h"

namespace korvan::testing {

inline QByteArray ReadBytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class ProjectTest : public ::testing::Test {
 protected:
  void SetUp() override { ProgramData = std::make_unique<TProgramData>(fTables); }
  void TearDown() override { ProgramData.reset(); }

  TProgramData& Data() { return *ProgramData; }
  TInputTables& Tables() { return fTables; }

  QString PathOf(const QString& name) const { return fFolder.filePath(name); }

  QString WriteFile(const QString& name, const QString& text) const {
    QFile file(PathOf(name));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text.toUtf8());
    return file.fileName();
  }

  // Opens `path` as the program does: a new project read from the file.
  // Returns the reader's message, empty when the whole file was read.
  QString Reopen(const QString& path, int format = dfKorvan2021) {
    ProgramData.reset();
    ProgramData = std::make_unique<TProgramData>(fTables);
    return ProgramData->ReadFile(path, format);
  }

  // Saves the project as `name` in the folder.
  QString SaveAs(const QString& name) {
    Data().FileName = PathOf(name);
    Data().Save();
    return Data().FileName;
  }

 private:
  QTemporaryDir fFolder;
  TInputTables fTables;
};

inline bool IsTableColumn(const TColumn& column) {
  return dynamic_cast<const TTableColumn*>(&column) != nullptr;
}

// Every cell the user can see (sub-tables included) as the tables show it.
inline void AddCells(QStringList& cells, const TGridTable& table) {
  for (int column = 0; column < table.ColCount(); ++column) {
    if (!table.GetColumn(column).Visible()) continue;
    for (int row = 0; row < table.RowCount(); ++row) {
      const QString where = QStringLiteral("%1[%2,%3] ").arg(table.Caption()).arg(column).arg(row);
      if (IsTableColumn(table.GetColumn(column))) {
        const TGridTable* sub = table.GetDataValue(column, row);
        cells << where + QStringLiteral("rows %1").arg(sub ? sub->RowCount() : -1);
        if (sub) AddCells(cells, *sub);
      } else {
        cells << where + table.GetStringValue(column, row);
      }
    }
  }
}

// What a saved project keeps: the settings (reals to 8 significant digits)
// and the visible cells of every table.
inline QStringList Snapshot(const TProgramData& data) {
  auto real = [](long double value) { return FormatGeneral(value, 8, QLatin1Char('.')); };
  QStringList kept{data.Title,
                   QStringLiteral("%1 %2 %3").arg(data.NINC).arg(data.LSO).arg(data.fUnits),
                   QStringLiteral("%1 %2 %3 %4")
                       .arg(data.UserTz)
                       .arg(data.UserQw)
                       .arg(data.Nloadmethod)
                       .arg(data.downdrag),
                   QStringLiteral("%1 %2").arg(data.ModTZ).arg(data.ModQw)};
  for (long double value : {data.Tolerance, data.PLength, data.HeadCoord, data.OD, data.Tiparea,
                            data.QFactor, data.wFactor}) {
    kept << real(value);
  }
  for (const TGridTable* table : data.Tables().AllTables()) AddCells(kept, *table);
  return kept;
}

}  // namespace korvan::testing
