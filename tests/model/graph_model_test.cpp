#include <gtest/gtest.h>

#include <QSignalSpy>

#include "model/GraphPlot.h"
#include "support/qstring_printer.h"

namespace korvan {
namespace {

TEST(GraphModel, StartsWithThePublishedDefaults) {
  TGraphPlot graph;
  EXPECT_EQ(graph.CurveName(), "Curve #");
  EXPECT_FALSE(graph.AnyChange());
  EXPECT_TRUE(graph.ShowLegend());
  EXPECT_FALSE(graph.ShowLayers());
  EXPECT_TRUE(graph.ShowFontWidth());
  EXPECT_EQ(graph.Markers(), 1);
  EXPECT_EQ(graph.SizeFont(), 10);
  EXPECT_EQ(graph.LegendFont(), 11);
  EXPECT_EQ(graph.WidthLine(), 1);
  EXPECT_EQ(graph.Units(), 1);
  EXPECT_TRUE(graph.XOnTop());
  EXPECT_TRUE(graph.LimitActive);
  EXPECT_FALSE(graph.HasSomethingToDraw());
}

TEST(GraphModel, UnitsAreClampedToTheThreeSystems) {
  const struct {
    int set, kept;
  } cases[] = {{-5, 1}, {0, 1}, {1, 1}, {2, 2}, {3, 3}, {4, 3}, {99, 3}};
  TGraphPlot graph;
  for (const auto& c : cases) {
    graph.SetUnits(c.set);
    EXPECT_EQ(graph.Units(), c.kept) << c.set;
  }
}

TEST(GraphModel, UnitCodesExpandIntoTheNamesOfTheSystem) {
  const struct {
    const char* codes;
    int units;
    const char* shown;
  } cases[] = {
      {"F1/L2^2", 1, "kips/ft^2"}, {"F1/L2^2", 2, "kN/m^2"}, {"F1/L2^2", 3, "F1/L2^2"},
      {"F/L^2", 1, "lbs/in^2"},    {"F/L^2", 2, "kN/m^2"},   {"L1", 2, "mm"},
      {"F2", 1, "tons"},           {"L", 1, "in"},           {"", 1, ""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ExpandUnitCodes(c.codes, c.units), c.shown) << c.codes << " in " << c.units;
}

TEST(GraphModel, LineCountAppendsLinesAsLongAsTheFirstAndDropsFromTheEnd) {
  TGraphPlot graph;
  graph.SetCount(7);  // no lines yet: nothing to set
  EXPECT_EQ(graph.Count(), 0);
  graph.SetLineCount(2);
  EXPECT_EQ(graph.GetLines(1).Count(), 0);
  graph.SetCount(5);
  graph.GetData(1, 4) = TFloatPoint(3, 4);
  graph.SetLineCount(4);
  EXPECT_EQ(graph.GetLines(3).Count(), 5);
  EXPECT_EQ(graph.GetLines(3).Value(), 4);
  graph.GetLines(2).SetCount(-3);
  EXPECT_EQ(graph.GetLines(2).Count(), 0);
  graph.SetLineCount(2);
  EXPECT_EQ(graph.LineCount(), 2);
  EXPECT_EQ(graph.GetData(1, 4).y, 4);
  graph.GetLines(0).SetCount(7);
  EXPECT_EQ(graph.GetData(0, 6).x, 0);
  EXPECT_EQ(graph.Count(), 7);
  EXPECT_TRUE(graph.HasSomethingToDraw());
  graph.SetLayerLineCount(3);
  graph.SetLayerCount(1);
  EXPECT_EQ(graph.LayerCount(), 1);
  EXPECT_EQ(graph.GetLayerLines(2).Count(), 1);
}

TEST(GraphModel, LineNamesFallBackToDefaultNamesAndThenToTheCurveName) {
  TGraphPlot graph;
  graph.SetLineCount(4);
  graph.DefLineNames = QStringList{"Top", "Middle"};
  graph.GetLines(1).SetLineName("Named");
  EXPECT_EQ(graph.GetLines(0).LineName(), "Top");
  EXPECT_EQ(graph.GetLines(1).LineName(), "Named");
  EXPECT_EQ(graph.GetLines(2).LineName(), "Curve #3");
  graph.SetCurveName("z = ");
  graph.GetLines(3).SetValue(2.5);
  EXPECT_EQ(graph.GetLines(3).LineName(), "z = 2.5");
  graph.OnGetCaption = [](int index, QString& name) { name += QString(" [%1]").arg(index); };
  EXPECT_EQ(graph.LegendCaption(0), "Top [0]");
}

TEST(GraphModel, TheChangedFlagNotifiesItsWatchersWhenItFlips) {
  TGraphPlot graph;
  QSignalSpy spy(&graph, &TGraphPlot::anyChangeChanged);
  graph.SetAnyChange(true);
  graph.SetAnyChange(true);
  graph.SetAnyChange(false);
  ASSERT_EQ(spy.count(), 2);
  EXPECT_TRUE(spy.at(0).at(0).toBool());
  EXPECT_FALSE(spy.at(1).at(0).toBool());
}

}  // namespace
}  // namespace korvan
