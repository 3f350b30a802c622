// The definitions of the project's input tables: identifiers, captions, row
// limits, columns with their headings (trailing blanks widen a column), unit
// codes and defaults, and the chart settings; then the settings the main
// window adds at start-up.
#include <QStringList>

#include "model/InputTables.h"

namespace korvan {

namespace {

bool IsChart(const TGridTable& table) {
  return dynamic_cast<const TGridTableChart*>(&table) != nullptr;
}

TFloatColumn& AddFloat(TGridTable& table, const QStringList& heading, const QString& unitsCode,
                       long double defaultValue = 0) {
  auto& column = dynamic_cast<TFloatColumn&>(
      table.AddColumn(IsChart(table) ? TFloatColumnChart::Class() : TFloatColumn::Class()));
  column.SetHeading(heading);
  column.SetUnitsString(unitsCode);
  column.SetDefault(defaultValue);
  return column;
}

TTableColumn& AddSubTables(TGridTableChart& table, const QStringList& heading,
                           const std::vector<int>& templateIdentifiers) {
  auto& column = dynamic_cast<TTableColumn&>(table.AddColumn(TTableColumnChart::Class()));
  column.SetHeading(heading);
  column.Templates().Resize(0);
  for (int identifier : templateIdentifiers) column.Templates().AddByIdent(identifier);
  return column;
}

void Limit(TGridTable& table, int identifier, const QString& caption, int minRows, int maxRows) {
  table.SetIdentifier(identifier);
  table.SetCaption(caption);
  table.SetMinRows(minRows);
  table.SetMaxRows(maxRows);
}

// A preview of column `y` against column `x`, with file and clipboard transfer.
void Preview(TGridTableChart& table, int x, int y, bool invertedYAxis) {
  table.SetVisibleChart(true);
  table.SetXcolumn(x);
  table.SetYcolumn(y);
  table.SetInvertedYAxis(invertedYAxis);
  table.SetGetDataFromFile(true);
}

// The four layer-data templates share one layout of ten float columns, so a
// layer keeps every value when its soil type changes; they differ in the
// headings of columns 4 to 6 and in the default of column 6.
struct TLayerDataVariant {
  const char* caption;
  int identifier;
  bool blowCounts;  // column 4 holds blow counts, else a second friction angle
  const char* zPeak;
  const char* residual;
  long double residualDefault;
};

void DefineLayerData(TGridTableChart& table, const TLayerDataVariant& variant) {
  Limit(table, variant.identifier, QString::fromUtf8(variant.caption), 2, 2);
  table.SetTopLeft(QStringLiteral("Location, 1=Top, 2=Bottom"));
  const QString stress = QStringLiteral("F/L^2");
  const QStringList friction{QStringLiteral("Friction "), QStringLiteral("Angle (Deg.)")};
  AddFloat(table, {QStringLiteral("Effective Unit "), QStringLiteral("Weight,")},
           QStringLiteral("F/L^3"));
  AddFloat(table, {QStringLiteral("Undrained Shear"), QStringLiteral("Strength,")}, stress);
  AddFloat(table, {QStringLiteral("e50")}, {});
  AddFloat(table, friction, {});
  AddFloat(table,
           variant.blowCounts
               ? QStringList{QStringLiteral("Blow Counts "), QStringLiteral("(optional)")}
               : friction,
           {});
  AddFloat(table, {QString::fromUtf8(variant.zPeak)}, QStringLiteral("L"));
  AddFloat(table, {QString::fromUtf8(variant.residual)}, {}, variant.residualDefault);
  AddFloat(table, {QStringLiteral("Ultimate Unit"), QStringLiteral("Side Friction,")}, stress);
  AddFloat(table, {QStringLiteral("Ultimate Unit"), QStringLiteral("Tip Resistance,")}, stress);
  AddFloat(table, {QStringLiteral("Dummy")}, {}).SetVisible(false);
}

const QString kLayerComment = QStringLiteral(
    "Enter data for the top and the bottom of each layer. \n"
    "Linear interpretation will be used for any depth between the top and the bottom.");

void HideColumns(TGridTable& table, std::initializer_list<int> columns) {
  for (int column : columns) table.GetColumn(column).SetVisible(false);
}

}  // namespace

void TInputTables::DefineTemplates() {
  DefineLayerData(*fClayLayerTemplate, {"Clay Layer Data", 1, false, "Z peak", "t res", 0.9L});
  DefineLayerData(*fSandLayerTemplate, {"Sand Layer Data", 2, true, "Z peak", "t residual", 0.9L});
  DefineLayerData(*fClayApiLayerTemplate,
                  {"Clay Layer Data", 9, true, "Z peak (*)", "tres/tmax (**)", 0.0L});
  DefineLayerData(*fSandApiLayerTemplate,
                  {"Sand Layer Data", 10, true, "Z peak (*)", "t residual", 0.9L});

  TGridTableChart& curve = *fTzCurveTemplate;
  Limit(curve, 4, QStringLiteral("t-z curve"), 2, 100);
  AddFloat(curve, {QStringLiteral("Load Transfer (t),")}, QStringLiteral("F/L^2"));
  AddFloat(curve, {QStringLiteral("Pile Movement (z),")}, QStringLiteral("L"));
  Preview(curve, 1, 0, false);
}

void TInputTables::DefineTables() {
  TGridTableChart& layers = *fSoilLayers;
  Limit(layers, 0, QStringLiteral("Soil Layers"), 1, 30);
  auto& soilType = dynamic_cast<TEnumColumn&>(layers.AddColumn(TEnumColumnChart::Class()));
  soilType.SetHeading({QStringLiteral("Soil Type") + QString(58, QLatin1Char(' '))});
  soilType.SetNames({QStringLiteral("Driven Pile in Clay (Coyle & Reese)"),
                     QStringLiteral("Driven Pile in Sand (Mosher)"),
                     QStringLiteral("Drilled Shaft in Clay (Reese & O'Neill)"),
                     QStringLiteral("Drilled Shaft in Sand (Reese & O'Neill)"),
                     QStringLiteral("Driven Pile in Clay (API)"),
                     QStringLiteral("Driven Pile in Sand (API)")});
  AddFloat(layers, {QStringLiteral("Bottom of Layer")}, QStringLiteral("L"));
  AddSubTables(layers, {QStringLiteral("Layer Data")}, {1, 2, 1, 2, 9, 10});

  TGridTableChart& depths = *fTzCurves;
  Limit(depths, 3, QStringLiteral("Depths for User-Defined t-z Curves"), 2, 100);
  AddFloat(depths, {QStringLiteral("Depth below ground surface, ")}, QStringLiteral("L"));
  AddSubTables(depths, {QStringLiteral("t-z Data  (click each button for data entry)  ")}, {4});

  TGridTableChart& tip = *fQwCurve;
  Limit(tip, 5, QStringLiteral("Tip Load vs. Tip Movement"), 2, 50);
  AddFloat(tip, {QStringLiteral("Total Tip Load (Q),")}, QStringLiteral("F"));
  AddFloat(tip, {QStringLiteral("Tip Movement (w),")}, QStringLiteral("L"));
  Preview(tip, 1, 0, false);

  TGridTableChart& settlement = *fSoilSettlement;
  Limit(settlement, 6, QStringLiteral("Soil Settlement Profile"), 2, 100);
  AddFloat(settlement, {QStringLiteral("Depth,")}, QStringLiteral("L"));
  AddFloat(settlement, {QStringLiteral("Settlement,")}, QStringLiteral("L"));
  Preview(settlement, 1, 0, true);

  TGridTableChart& factors = *fTzFactors;
  Limit(factors, 7, QStringLiteral("Modification Factors on t-z Curves"), 2, 50);
  AddFloat(factors, {QStringLiteral("Depth")}, QStringLiteral("L"));
  AddFloat(factors, {QStringLiteral("t-Multiplier")}, {}, 1.0L);
  AddFloat(factors, {QStringLiteral("z-Multiplier")}, {}, 1.0L);
  Preview(factors, 1, 0, true);

  TGridTableChart& stiffness = *fPileStiffness;
  Limit(stiffness, 8, QStringLiteral("Axial Stiffness (AE) of Pile Sections"), 2, 50);
  AddFloat(stiffness, {QStringLiteral("Depth (from pile top)")}, QStringLiteral("L"));
  AddFloat(stiffness, {QStringLiteral("Axial Stiffness  AE,")}, QStringLiteral("F"));
  Preview(stiffness, 1, 0, true);

  TGridTable& movements = *fTipMovements;
  Limit(movements, 179, QStringLiteral("Tip Movements"), 2, 100);
  AddFloat(movements, {QStringLiteral("Tip Movement, ")}, QStringLiteral("L"));

  TGridTable& loads = *fHeadLoads;
  Limit(loads, 10, QStringLiteral("Pile-Head Loads"), 1, 50);
  AddFloat(loads, {QStringLiteral("Axial Load at Pile Head")}, QStringLiteral("F"));
}

void TInputTables::ApplyStartupSettings() {
  fClayLayerTemplate->SetComments(kLayerComment);
  fSandLayerTemplate->SetComments(kLayerComment);
  fClayApiLayerTemplate->SetComments(
      kLayerComment + QStringLiteral("\n(*) Enter zero to use Default (Z peak = 0.01 D)"
                                     "\n(**) Enter zero to use Default (tres/tmax = 0.9)"));
  fSandApiLayerTemplate->SetComments(
      kLayerComment + QStringLiteral("\n(*) Enter zero to use Default (Z peak = 0.01 D)"));
  fHeadLoads->SetComments(
      QStringLiteral("Enter a positive number for Compression Load \n"
                     "Enter a negative number for Uplift Load \n"));
  fTipMovements->SetComments(
      QStringLiteral("Values should be entered in increasing\n"
                     "order of magnitude\n"));

  HideColumns(*fClayLayerTemplate, {3, 4, 5, 6});
  HideColumns(*fSandLayerTemplate, {1, 2, 5, 6});
  HideColumns(*fClayApiLayerTemplate, {3, 4});
  HideColumns(*fSandApiLayerTemplate, {1, 2, 6});
}

}  // namespace korvan
