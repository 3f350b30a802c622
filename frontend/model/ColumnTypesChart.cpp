#include "model/ColumnTypesChart.h"

#include <algorithm>

#include "model/TableErrors.h"
#include "model/Units.h"
#include "model/ValueStream.h"

namespace korvan {

const TColumnClass& TEnumColumnChart::Class() {
  static const TColumnClass columnClass{"TEnumColumnChart", &CreateColumnOf<TEnumColumnChart>};
  return columnClass;
}

const TColumnClass& TIntColumnChart::Class() {
  static const TColumnClass columnClass{"TIntColumnChart", &CreateColumnOf<TIntColumnChart>};
  return columnClass;
}

const TColumnClass& TFloatColumnChart::Class() {
  static const TColumnClass columnClass{"TFloatColumnChart", &CreateColumnOf<TFloatColumnChart>};
  return columnClass;
}

const TColumnClass& TTableColumnChart::Class() {
  static const TColumnClass columnClass{"TTableColumnChart", &CreateColumnOf<TTableColumnChart>};
  return columnClass;
}

const TColumnClass& TStringColumnChart::Class() {
  static const TColumnClass columnClass{"TStringColumnChart", &CreateColumnOf<TStringColumnChart>};
  return columnClass;
}

// Never destroyed, like the plain family.
TTableFamily& ChartFamily() {
  static TTableFamily* family = [] {
    auto* created = new TTableFamily{{}, {}, &ChartUnits, {}};
    created->ColumnKinds.Register(TEnumColumnChart::Class(), 0);
    created->ColumnKinds.Register(TIntColumnChart::Class(), 1);
    created->ColumnKinds.Register(TFloatColumnChart::Class(), 2);
    created->ColumnKinds.Register(TTableColumnChart::Class(), 3);
    created->ColumnKinds.Register(TStringColumnChart::Class(), 4);
    return created;
  }();
  return *family;
}

TGridTableChart::TGridTableChart(QObject* owner) : TGridTable(owner, ChartFamily()) {}

TGridTable* TGridTableChart::NewTable(QObject* owner) const {
  return new TGridTableChart(owner);
}

void TGridTableChart::CopySettingsFrom(const TGridTable& source) {
  const auto* chart = dynamic_cast<const TGridTableChart*>(&source);
  if (!chart) return;
  fvisiblechart = chart->fvisiblechart;
  frowsoption = chart->frowsoption;
  fXcolumn = chart->fXcolumn;
  fYcolumn = chart->fYcolumn;
  fX2column = chart->fX2column;
  fY2column = chart->fY2column;
  fGetDatafromFile = chart->fGetDatafromFile;
  fOKCancelButtons = chart->fOKCancelButtons;
  fInvertedXAxis = chart->fInvertedXAxis;
  fInvertedYAxis = chart->fInvertedYAxis;
}

void TGridTableChart::WriteExtras(TValueWriter& writer) const {
  writer.WriteBoolean(fvisiblechart);
  writer.WriteBoolean(frowsoption);
  writer.WriteInteger(fXcolumn);
  writer.WriteInteger(fYcolumn);
  writer.WriteInteger(fX2column);
  writer.WriteInteger(fY2column);
}

void TGridTableChart::ReadExtras(TValueReader& reader) {
  try {
    const bool visibleChart = reader.ReadBoolean();
    const bool rowsOption = reader.ReadBoolean();
    const int x = reader.ReadInteger();
    const int y = reader.ReadInteger();
    const int x2 = reader.ReadInteger();
    const int y2 = reader.ReadInteger();
    fvisiblechart = visibleChart;
    frowsoption = rowsOption;
    fXcolumn = x;
    fYcolumn = y;
    fX2column = x2;
    fY2column = y2;
  } catch (const EKorvanError&) {
    throw EReadError(QStringLiteral("Error reading graphic parameters"));
  }
}

// The layer-data templates share one column layout, so a layer keeps its
// values when its soil type changes. Rows beyond the new table's are dropped.
void TTableColumnChart::CarryOver(const TGridTable& previous, TGridTable& fresh) const {
  const int columns = std::min(previous.ColCount(), fresh.ColCount());
  for (int col = 0; col < columns; ++col) {
    const TColumn& from = previous.GetColumn(col);
    TColumn& to = fresh.GetColumn(col);
    const int rows = std::min(from.Count(), to.Count());
    const bool floats =
        dynamic_cast<const TFloatColumn*>(&from) && dynamic_cast<TFloatColumn*>(&to);
    const bool choices = dynamic_cast<const TEnumColumn*>(&from) && dynamic_cast<TEnumColumn*>(&to);
    for (int row = 0; row < rows; ++row) {
      if (floats) to.SetFloatValue(row, from.GetFloatValue(row));
      if (choices) to.SetIntValue(row, from.GetIntValue(row));
    }
  }
}

}  // namespace korvan
