// Shared set-up of the tests of the project model and of what builds on it:
// the input tables with the program's project in a temporary folder, data
// files and plot data files written from text, the result graphs read from
// them, and the sample projects.
#pragma once

#include <gtest/gtest.h>

#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <array>
#include <memory>
#include <utility>
#include <vector>

#include "model/InputTables.h"
#include "model/NumberFormat.h"
#include "model/ProgramData.h"
#include "model/ResultGraphs.h"
#include "support/qstring_printer.h"

namespace korvan::testing {

#ifdef KORVAN_EXAMPLES_DIR
inline QString ExamplePath(const char* name) {
  return QStringLiteral(KORVAN_EXAMPLES_DIR "/") + QLatin1String(name);
}
#endif

inline QString WriteText(const QString& path, const QString& text) {
  QFile file(path);
  EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  file.write(text.toUtf8());
  return path;
}

inline QString ReadText(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

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

// A plot data file in its blocks: t-z curves, tip curve, distributions,
// summary, applied loads.
struct TPlotText {
  std::vector<std::vector<std::pair<double, double>>> tzCurves;     // (t, z) points
  std::vector<std::pair<double, double>> tip = {{0, 0}, {100, 1}};  // (Q, w)
  int unitFlag = 1;
  int increments = 2;
  // Per tip movement: per increment (depth, load, movement); then the
  // summary (head load, head movement, tip movement, tip load).
  std::vector<std::vector<std::array<double, 3>>> distributions;
  std::vector<std::array<double, 4>> summary;
  // Applied loads: flag, the four result values, the distribution.
  struct TCase {
    int flag = 1;
    std::array<double, 4> result{};
    std::vector<std::array<double, 3>> points;
  };
  std::vector<TCase> cases;
  bool withCases = false;

  QString Text() const {
    QString text = QStringLiteral("%1\n").arg(tzCurves.size());
    for (size_t i = 0; i < tzCurves.size(); ++i) {
      text += QStringLiteral("%1 %2 %3\n").arg(i + 1).arg(tzCurves[i].size()).arg(120.0 * i);
      for (const auto& [t, z] : tzCurves[i]) text += QStringLiteral("  %1 %2\n").arg(t).arg(z);
    }
    text += QStringLiteral("%1\n").arg(tip.size());
    for (const auto& [q, w] : tip) text += QStringLiteral("%1 %2\n").arg(q).arg(w);
    text += QStringLiteral("%1 %2 %3\n").arg(distributions.size()).arg(increments).arg(unitFlag);
    for (const auto& line : distributions)
      for (const auto& p : line)
        text += QStringLiteral(" %1 %2 %3\n").arg(p[0]).arg(p[1]).arg(p[2]);
    for (const auto& s : summary)
      text += QStringLiteral("%1 %2 %3 %4\n").arg(s[0]).arg(s[1]).arg(s[2]).arg(s[3]);
    if (!withCases) return text;
    text += QStringLiteral("%1 %2 %3\n").arg(cases.size()).arg(increments).arg(unitFlag);
    for (const auto& c : cases) {
      text += QStringLiteral("%1\n%2 %3 %4 %5\n")
                  .arg(c.flag)
                  .arg(c.result[0])
                  .arg(c.result[1])
                  .arg(c.result[2])
                  .arg(c.result[3]);
      for (const auto& p : c.points)
        text += QStringLiteral(" %1 %2 %3\n").arg(p[0]).arg(p[1]).arg(p[2]);
    }
    return text;
  }
};

// A small complete result: two tip movements over two increments.
inline TPlotText SmallResult() {
  TPlotText plot;
  plot.tzCurves = {{{0, 0}, {2, 0.1}, {3, 1}}};
  plot.distributions = {{{{60, 900, 0.1}}, {{120, 500, 0.05}}},
                        {{{60, 1900, 0.3}}, {{120, 1000, 0.2}}}};
  plot.summary = {{1000, 0.12, 0.1, 400}, {2000, 0.35, 0.3, 700}};
  return plot;
}

// The project model with result graphs, without the main window.
class GraphsTest : public ::testing::Test {
 protected:
  void SetUp() override { ProgramData = std::make_unique<TProgramData>(fTables); }
  void TearDown() override { ProgramData.reset(); }

  TProgramData& Project() { return *ProgramData; }
  TInputTables& Tables() { return fTables; }
  TResultGraphs& Graphs() { return fGraphs; }
  QString PathOf(const QString& name) const { return fFolder.filePath(name); }

  bool Read(const TPlotText& plot) {
    return fGraphs.ReadPlotData(WriteText(PathOf(QStringLiteral("p.kv4p")), plot.Text()),
                                Project());
  }

 private:
  QTemporaryDir fFolder;
  TInputTables fTables;
  TResultGraphs fGraphs;
};

}  // namespace korvan::testing
