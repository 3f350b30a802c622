// The project's input tables as a new project has them: the layer-data
// template each soil type selects, values kept across a change of soil
// type, headings with their units, and the project-wide changed flag.
#include "support/project_fixtures.h"

namespace korvan::testing {
namespace {

QList<int> HiddenColumns(const TGridTable& table) {
  QList<int> hidden;
  for (int column = 0; column < table.ColCount(); ++column) {
    if (!table.GetColumn(column).Visible()) hidden << column;
  }
  return hidden;
}

TEST_F(ProjectTest, NewProjectHasEveryTableAtItsMinimumRows) {
  EXPECT_EQ(Data().Title, "New Pile");
  EXPECT_EQ(Data().FileName, "NewKORVAN.kv4d");
  EXPECT_EQ(Data().NINC, 50);
  EXPECT_EQ(Data().Tolerance, 1.0E-5L);
  EXPECT_EQ(Data().fUnits, 1);
  EXPECT_EQ(Data().Nloadmethod, 0);
  EXPECT_FALSE(Data().UserTz || Data().UserQw || Data().downdrag || Data().ModTZ || Data().ModQw);
  for (const TGridTable* table : Tables().AllTables()) {
    EXPECT_EQ(table->RowCount(), table->MinRows()) << table->Caption().toStdString();
  }
  const TGridTable& layers = Tables().SoilLayers();
  ASSERT_EQ(layers.RowCount(), 1);
  EXPECT_EQ(layers.GetIntValue(0, 0), 1);
  EXPECT_EQ(layers.GetColumn(0).GetEnumStr(0), "Driven Pile in Clay (Coyle & Reese)");
  const TGridTable& data = *layers.GetDataValue(2, 0);
  EXPECT_EQ(data.Source(), &Tables().ClayLayerTemplate());
  ASSERT_EQ(data.RowCount(), 2);
  for (int row = 0; row < 2; ++row) {
    EXPECT_EQ(data.GetFloatValue(6, row), 0.9L);
    EXPECT_EQ(data.GetFloatValue(0, row), 0.0L);
  }
  EXPECT_EQ(Tables().TzFactors().GetStringValue(2, 1), "1");
  EXPECT_EQ(Tables().TzCurves().GetDataValue(1, 1)->Caption(), "t-z curve");
  EXPECT_FALSE(Tables().GetDataChanged());
}

struct SoilTypeCase {
  int soilType;
  const char* caption;
  QList<int> hidden;
  const char* blowCounts;  // heading of column 4
  long double residualDefault;
};

class SoilTypeTest : public ProjectTest, public ::testing::WithParamInterface<SoilTypeCase> {};

// A layer keeps all ten values of both rows whatever its soil type; only
// the template, and so the columns shown, change.
TEST_P(SoilTypeTest, SelectsItsTemplateAndKeepsTheLayersValues) {
  const SoilTypeCase& c = GetParam();
  TGridTable& layers = Tables().SoilLayers();
  layers.SetRowCount(3);
  for (int column = 0; column < 10; ++column) {
    for (int row = 0; row < 2; ++row) {
      layers.GetDataValue(2, 2)->SetFloatValue(column, row, 10 * column + row + 0.5L);
    }
  }
  layers.SetIntValue(0, 2, c.soilType);
  const TGridTable& data = *layers.GetDataValue(2, 2);
  EXPECT_EQ(data.Caption() + " " + data.IDPath(), QString::fromLatin1(c.caption) + "  3");
  EXPECT_EQ(HiddenColumns(data), QList<int>(c.hidden) << 9);
  EXPECT_EQ(data.GetColumn(4).Heading().join(QLatin1Char('|')), c.blowCounts);
  EXPECT_EQ(data.TopLeft(), "Location, 1=Top, 2=Bottom");
  for (int column = 0; column < 10; ++column) {
    for (int row = 0; row < 2; ++row) {
      EXPECT_EQ(data.GetFloatValue(column, row), 10 * column + row + 0.5L) << column;
    }
  }
  EXPECT_EQ(dynamic_cast<const TFloatColumn&>(data.Source()->GetColumn(6)).Default(),
            c.residualDefault);
}

INSTANTIATE_TEST_SUITE_P(
    SixSoilTypes, SoilTypeTest,
    ::testing::Values(
        SoilTypeCase{1, "Clay Layer Data", {3, 4, 5, 6}, "Friction |Angle (Deg.)", 0.9L},
        SoilTypeCase{2, "Sand Layer Data", {1, 2, 5, 6}, "Blow Counts |(optional)", 0.9L},
        SoilTypeCase{3, "Clay Layer Data", {3, 4, 5, 6}, "Friction |Angle (Deg.)", 0.9L},
        SoilTypeCase{4, "Sand Layer Data", {1, 2, 5, 6}, "Blow Counts |(optional)", 0.9L},
        SoilTypeCase{5, "Clay Layer Data", {3, 4}, "Blow Counts |(optional)", 0.0L},
        SoilTypeCase{6, "Sand Layer Data", {1, 2, 6}, "Blow Counts |(optional)", 0.9L}));

TEST_F(ProjectTest, HeadingsShowTheUnitsOfTheProjectsSystem) {
  const TGridTable& layers = Tables().SoilLayers();
  EXPECT_EQ(layers.GetColumn(0).GetDisplayHeadings(0), "Soil Type" + QString(58, ' '));
  const std::pair<int, QStringList> expected[] = {
      {1, {"Bottom of Layer (in)  ", "Weight, (lbs/in^3)  ", "Axial Load at Pile Head (lbs)  "}},
      {2, {"Bottom of Layer (m)  ", "Weight, (kN/m^3)  ", "Axial Load at Pile Head (kN)  "}}};
  for (const auto& [units, headings] : expected) {
    Data().SetUnits(units);
    EXPECT_EQ(QStringList({layers.GetColumn(1).GetDisplayHeadings(0),
                           layers.GetDataValue(2, 0)->GetColumn(0).GetDisplayHeadings(1),
                           Tables().HeadLoads().GetColumn(0).GetDisplayHeadings(0)}),
              headings);
  }
}

}  // namespace
}  // namespace korvan::testing
