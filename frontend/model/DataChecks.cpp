#include "model/DataChecks.h"

#include "model/InputTables.h"
#include "model/NumberFormat.h"
#include "model/ProgramData.h"

namespace korvan {

namespace {

// The default float-to-text form: shortest, up to 15 significant digits.
QString Number(long double value) {
  return FormatGeneral(value, 15);
}

QString Message(long double movement, const QString& curve, long double last, const QString& row,
                int movementRow) {
  return QStringLiteral("Tip Movement entered (") + Number(movement) + QStringLiteral(")") +
         QLatin1Char('\r') + QStringLiteral("is higher than largest displacement entered for ") +
         curve + QStringLiteral(" (") + Number(last) + QStringLiteral(")") + row +
         QLatin1Char('\r') + QStringLiteral("Please check tip movements defined (") +
         QString::number(movementRow) + QStringLiteral(")") + QStringLiteral(" .");
}

}  // namespace

QString TipMovementRangeMessage(const TProgramData& project) {
  if (project.Nloadmethod != 1) return {};
  const TInputTables& tables = project.Tables();
  const TGridTable& movements = tables.TipMovements();
  if (project.UserQw) {
    // The curve's rows run in increasing movement: only the last one counts.
    const TGridTable& tip = tables.QwCurve();
    if (tip.RowCount() > 0) {
      const long double w = tip.GetFloatValue(1, tip.RowCount() - 1);
      for (int i = 0; i < movements.RowCount(); ++i) {
        const long double movement = movements.GetFloatValue(0, i);
        if (w < movement) {
          return Message(movement, QStringLiteral("user defined Q-w curve"), w, {}, i + 1);
        }
      }
    }
  }
  if (project.UserTz) {
    const TGridTable& depths = tables.TzCurves();
    for (int i = 0; i < movements.RowCount(); ++i) {
      const long double movement = movements.GetFloatValue(0, i);
      for (int j = 0; j < depths.RowCount(); ++j) {
        const TGridTable* points = depths.GetDataValue(1, j);
        if (points == nullptr || points->RowCount() == 0) continue;
        const long double z = points->GetFloatValue(1, points->RowCount() - 1);
        if (z < movement) {
          return Message(movement, QStringLiteral("user defined t-z curve"), z,
                         QStringLiteral(", row ") + QString::number(j + 1), i + 1);
        }
      }
    }
  }
  return {};
}

}  // namespace korvan
