#include "StudyVariant.h"

#include <QFile>
#include <QList>
#include <algorithm>
#include <vector>

#include "DataUnit.h"
#include "Exceptions.h"
#include "InputTables.h"
#include "input_file.h"

namespace korvan {

namespace {

constexpr int kDepthColumn = 0;
constexpr int kStiffnessColumn = 1;
constexpr int kTipMovements = 1;
constexpr int kHeadLoads = 2;

struct TStiffnessRow {
  long double depth = 0;
  long double stiffness = 0;
};

std::vector<TStiffnessRow> StiffnessRows(const TGridTable& table) {
  std::vector<TStiffnessRow> rows;
  for (int row = 0; row < table.RowCount(); ++row) {
    rows.push_back(
        {table.GetFloatValue(kDepthColumn, row), table.GetFloatValue(kStiffnessColumn, row)});
  }
  return rows;
}

void SetStiffnessRows(TGridTable& table, const std::vector<TStiffnessRow>& rows) {
  table.SetRowCount(static_cast<int>(rows.size()));
  for (int row = 0; row < table.RowCount(); ++row) {
    table.SetFloatValue(kDepthColumn, row, rows[static_cast<size_t>(row)].depth);
    table.SetFloatValue(kStiffnessColumn, row, rows[static_cast<size_t>(row)].stiffness);
  }
}

// The AE the engine takes at distance `s` below the pile head: linear
// between rows, the upper row's at a depth two rows share, the last row's
// below the table.
long double StiffnessAt(const std::vector<TStiffnessRow>& rows, long double s) {
  if (rows.empty()) return 0;
  if (rows.size() == 1) return rows.front().stiffness;
  std::size_t k = 1;
  while (k < rows.size() && rows[k].depth < s) ++k;
  if (k == rows.size()) return rows.back().stiffness;
  const TStiffnessRow& upper = rows[k - 1];
  const TStiffnessRow& lower = rows[k];
  if (lower.depth == upper.depth) return upper.stiffness;
  return upper.stiffness +
         (lower.stiffness - upper.stiffness) * (s - upper.depth) / (lower.depth - upper.depth);
}

void ChangeLength(TProgramData& project, long double length) {
  TGridTable& table = project.Tables().TblAE2();
  const std::vector<TStiffnessRow> rows = StiffnessRows(table);
  std::vector<TStiffnessRow> kept;
  for (const TStiffnessRow& row : rows) {
    if (row.depth <= length || kept.empty()) kept.push_back(row);
  }
  const bool reachesTip = std::any_of(
      kept.begin(), kept.end(), [&](const TStiffnessRow& row) { return row.depth >= length; });
  if (!reachesTip) kept.push_back({length, StiffnessAt(rows, length)});
  if (static_cast<int>(kept.size()) > table.MaxRows()) {
    throw EKorvanError(QStringLiteral("The stiffness table holds %1 rows, the most it can: no row "
                                      "can be added at the tip of a pile %2 long.")
                           .arg(table.MaxRows())
                           .arg(static_cast<double>(length)));
  }
  SetStiffnessRows(table, kept);
  project.PLength = length;
}

void ChangeDiameter(TProgramData& project, long double diameter, bool scaleStiffness) {
  const long double ratio = diameter / project.OD;
  project.Tiparea *= ratio * ratio;
  project.OD = diameter;
  if (!scaleStiffness) return;
  TGridTable& table = project.Tables().TblAE2();
  std::vector<TStiffnessRow> rows = StiffnessRows(table);
  for (TStiffnessRow& row : rows) row.stiffness *= ratio * ratio;
  SetStiffnessRows(table, rows);
}

void AddHeadLoad(TProgramData& project, long double load) {
  TGridTable& loads = project.Tables().TblTopload();
  const int count = project.Nloadmethod == kHeadLoads ? loads.RowCount() : 0;
  loads.SetRowCount(count + 1);
  loads.SetFloatValue(0, count, load);
  project.Nloadmethod = kHeadLoads;
}

// The program saves either tip movements or head loads. Saved once with
// each, the two texts agree line by line before the tip-movement record and
// after the head-load record; the text with both takes the tip-movement
// record of the first and the head-load record of the second.
QByteArray WithBothLoadBlocks(const QByteArray& withMovements, const QByteArray& withLoads,
                              qsizetype movements, qsizetype loads) {
  const QList<QByteArray> a = withMovements.split('\n');
  const QList<QByteArray> b = withLoads.split('\n');
  qsizetype common = 0;
  while (common < a.size() && common < b.size() && a[common] == b[common]) ++common;
  const qsizetype movementEnd = common + 1 + movements;
  const qsizetype loadEnd = common + 1 + 1 + loads;
  const bool layoutAsExpected = movementEnd < a.size() && loadEnd <= b.size() &&
                                a.mid(movementEnd + 1) == b.mid(loadEnd) &&
                                a[movementEnd].trimmed() == "0" && b[common].trimmed() == "0";
  if (!layoutAsExpected) {
    throw EKorvanError(
        QStringLiteral("The variant's tip movements and head loads cannot be written together."));
  }
  QList<QByteArray> lines = a.mid(0, movementEnd);
  lines << b.mid(common + 1, 1 + loads) << a.mid(movementEnd + 1);
  return lines.join('\n');
}

}  // namespace

TStudyVariantMaker::TStudyVariantMaker(const QByteArray& projectBytes, const TVariantRules& rules)
    : fRules(rules) {
  fBaseFile = fFolder.filePath(QStringLiteral("project.kv4d"));
  QFile base(fBaseFile);
  if (!fFolder.isValid() || !base.open(QIODevice::WriteOnly) ||
      base.write(projectBytes) != projectBytes.size() || !base.flush()) {
    throw EKorvanError(QStringLiteral("The project cannot be copied for the study: %1")
                           .arg(fFolder.isValid() ? base.errorString() : fFolder.errorString()));
  }
  base.close();
  TInputTables tables;
  TProgramData project(tables);
  const QString message = project.ReadFile(fBaseFile, dfKorvan2021);
  if (!message.isEmpty()) throw EKorvanError(message);
  fUnits = project.fUnits;
  fDownDrag = project.downdrag == 1;
  fLength = static_cast<double>(project.PLength);
  fDiameter = static_cast<double>(project.OD);
  fHeadLoads = project.Nloadmethod == kHeadLoads ? tables.TblTopload().RowCount() : 0;
  fMaxHeadLoads = tables.TblTopload().MaxRows();
  fDesignLoadIndex = static_cast<std::size_t>(fHeadLoads);
}

std::unique_ptr<TStudyVariantMaker> TStudyVariantMaker::Open(const std::filesystem::path& dataFile,
                                                             const TVariantRules& rules,
                                                             QString& message) {
  const QString name = QFile::decodeName(dataFile.c_str());
  const TDataFileFormat format = DataFileFormat(name);
  if (format == dfUnknown) {
    message = QStringLiteral("%1 is not a project data file (.kv4d, .kv3d or .kvd)").arg(name);
    return nullptr;
  }
  const platform::TInputFile file(dataFile);
  if (!file.Opened()) {
    message = QStringLiteral("the project data file %1 cannot be read: %2")
                  .arg(name, QString::fromLocal8Bit(file.Problem()));
    return nullptr;
  }
  QByteArray bytes;
  {
    TInputTables tables;
    TProgramData project(tables);
    const QString readerName = QFile::decodeName(file.ReopenName().c_str());
    message = project.ReadFile(readerName, format);
    if (!message.isEmpty()) {
      message = QStringLiteral("the project data file %1 cannot be read: %2")
                    .arg(name, message.replace(readerName, name));
      return nullptr;
    }
    try {
      bytes = project.FileBytes();
    } catch (const EKorvanError& error) {
      message = error.Message();
      return nullptr;
    }
  }
  try {
    return std::make_unique<TStudyVariantMaker>(bytes, rules);
  } catch (const EKorvanError& error) {
    message = error.Message();
    return nullptr;
  }
}

QString TStudyVariantMaker::Problem() const {
  if (fRules.parameter == TStudyParameter::kDiameter && !(fDiameter > 0)) {
    return QStringLiteral(
        "The project's outer diameter is 0: the tip area cannot be scaled with the diameter.");
  }
  if (fRules.designLoad && fHeadLoads >= fMaxHeadLoads) {
    return QStringLiteral(
               "The project has %1 head loads, the most a project holds: the design load cannot "
               "be added.")
        .arg(fHeadLoads);
  }
  return {};
}

QByteArray TStudyVariantMaker::VariantBytes(double value) const {
  if (const QString problem = Problem(); !problem.isEmpty()) throw EKorvanError(problem);
  TInputTables tables;
  TProgramData project(tables);
  const QString message = project.ReadFile(fBaseFile, dfKorvan2021);
  if (!message.isEmpty()) throw EKorvanError(message);
  if (fRules.parameter == TStudyParameter::kLength)
    ChangeLength(project, value);
  else
    ChangeDiameter(project, value, fRules.scaleAE);
  if (!fRules.designLoad) return project.FileBytes();
  const bool ownMovements = project.Nloadmethod == kTipMovements;
  const QByteArray withMovements = ownMovements ? project.FileBytes() : QByteArray();
  AddHeadLoad(project, *fRules.designLoad);
  const QByteArray withLoads = project.FileBytes();
  if (!ownMovements) return withLoads;
  return WithBothLoadBlocks(withMovements, withLoads, tables.TblTipMove().RowCount(),
                            tables.TblTopload().RowCount());
}

}  // namespace korvan
