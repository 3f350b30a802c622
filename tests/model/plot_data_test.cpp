// Reading the plot data file into the result graphs: padding of the t-z
// curves, English scaling, the down-drag line, the origin of the
// load-settlement curves, the applied-load graphs and damaged files.
#include <sys/stat.h>

#include <QFileInfo>
#include <cmath>
#include <map>

#include "model/Exceptions.h"
#include "runner/plot_file_reader.h"
#include "support/project_fixtures.h"

namespace korvan::testing {
namespace {

using Point = std::pair<long double, long double>;

Point At(const TGraphPlot& plot, int line, int point) {
  const TFloatPoint& p = plot.GetData(line, point);
  return {p.x, p.y};
}

class PlotDataTest : public GraphsTest {};

TEST_F(PlotDataTest, ShorterTzCurvesEndInARunOfTheirLastPoint) {
  struct Case {
    std::vector<int> counts;
    int longest;
  };
  for (const Case& c : {Case{{3, 5, 4}, 5}, Case{{1}, 2}, Case{{2, 2}, 2}}) {
    TPlotText plot = SmallResult();
    plot.tzCurves.clear();
    for (int count : c.counts) {
      std::vector<std::pair<double, double>> curve;
      for (int j = 0; j < count; ++j) curve.emplace_back(1.0 + j, 0.1 * (j + 1));
      plot.tzCurves.push_back(curve);
    }
    ASSERT_TRUE(Read(plot));
    const TGraphPlot& tz = Graphs().pltTZcurves();
    ASSERT_EQ(tz.LineCount(), static_cast<int>(c.counts.size()));
    for (int i = 0; i < tz.LineCount(); ++i) {
      ASSERT_EQ(tz.GetLines(i).Count(), c.longest);
      const int last = c.counts[static_cast<size_t>(i)] - 1;
      EXPECT_EQ(At(tz, i, last), Point(0.1L * (last + 1), 1.0L + last)) << "x is z, y is t";
      for (int j = last + 1; j < c.longest; ++j) EXPECT_EQ(At(tz, i, j), At(tz, i, last));
    }
  }
}

TEST_F(PlotDataTest, TzCurvesAreNamedByTheirDepthInTheProjectsUnit) {
  TPlotText plot = SmallResult();
  plot.tzCurves = {{{0, 0}, {1, 1}}, {{0, 0}, {1, 1}}, {{0, 0}, {1, 1}}};
  struct Case {
    int units;
    QStringList names;  // the file's depths are 0, 120 and 240
  };
  for (const Case& c : {Case{1, {"Depth 0 ft", "Depth 10 ft", "Depth 20 ft"}},
                        Case{2, {"Depth 0 m", "Depth 120 m", "Depth 240 m"}}}) {
    Project().SetUnits(c.units);
    ASSERT_TRUE(Read(plot));
    const TGraphPlot& tz = Graphs().pltTZcurves();
    for (int i = 0; i < c.names.size(); ++i) EXPECT_EQ(tz.GetLines(i).LineName(), c.names[i]);
    EXPECT_TRUE(tz.GetLines(0).ExplicitName().isEmpty()) << "a default the user may replace";
  }
}

TEST_F(PlotDataTest, LinesAreNamedByWhatTheyShowInTheFilesUnits) {
  struct Case {
    int flag;
    QString movement;  // of the first tip movement, 0.2 in the file
    QString tip;
  };
  for (const Case& c : {Case{1, "Tip movement 0.2 in", "Tip resistance"},
                        Case{2, "Tip movement 200 mm", "Tip resistance"}}) {
    Project().downdrag = 1;
    TPlotText plot = SmallResult();
    plot.unitFlag = c.flag;
    plot.summary[0] = {25000, 0.3, 0.2, 100};
    ASSERT_TRUE(Read(plot));
    for (const TGraphPlot* graph :
         {&Graphs().pltLoad(), &Graphs().pltDisp(), &Graphs().pltDispDown()})
      EXPECT_EQ(graph->GetLines(0).LineName(), c.movement) << graph->Caption().toStdString();
    EXPECT_EQ(Graphs().pltDispDown().GetLines(Graphs().pltDisp().LineCount()).LineName(),
              "Soil Settl.");
    EXPECT_EQ(Graphs().pltAxial().GetLines(0).LineName(), "Tip movements");
    EXPECT_EQ(Graphs().PltQW().GetLines(0).LineName(), c.tip);
  }
}

TEST_F(PlotDataTest, NamesTheUserGaveAreKeptOverTheDefaults) {
  TPlotText plot = SmallResult();
  ASSERT_TRUE(Read(plot));
  TGraphPlot& load = Graphs().pltLoad();
  load.GetLines(1).SetLineName(QStringLiteral("second"));
  EXPECT_EQ(load.GetLines(1).LineName(), "second");
  EXPECT_NE(load.GetLines(0).LineName(), "second");
  EXPECT_TRUE(load.GetLines(0).LineName().startsWith("Tip movement "));
}

TEST_F(PlotDataTest, EnglishResultsArePlottedInFeetAndKips) {
  for (const auto& [flag, load, depth] :
       {std::tuple{1, 25.0L, 10.0L}, std::tuple{2, 25000.0L, 120.0L}}) {
    TPlotText plot = SmallResult();
    plot.unitFlag = flag;
    plot.distributions[0][0] = {120, 25000, 0.25};
    plot.summary[0] = {25000, 0.3, 0.2, 100};
    ASSERT_TRUE(Read(plot));
    EXPECT_EQ(At(Graphs().pltLoad(), 0, 0), Point(load, depth));
    // English movements are plotted in inches as read; SI movements, read
    // in metres, in the millimetres the axis names.
    EXPECT_EQ(At(Graphs().pltDisp(), 0, 0), Point(flag == 1 ? 0.25L : 250.0L, depth));
    EXPECT_EQ(At(Graphs().pltAxial(), 0, 1), Point(load, 0.3L));
    EXPECT_EQ(Graphs().PltQW().GetLines(0).Count(), 2);
    for (const auto& graph : Graphs().All()) EXPECT_EQ(graph->Units(), flag);
  }
}

// Numbers too wide for the engine's fixed columns are written in exponent
// form, with or without decimals; the curve number (skipped) and every value
// read back as written.
TEST_F(PlotDataTest, ExponentFormsOfWideNumbersReadAsTheirValues) {
  struct Wide {
    const char* curveNumber;
    const char* headLoad;
    long double value;
  };
  const Wide cases[] = {
      {"1E+05", "1.0116E+06", 1011600.0L},
      {"99999", "-1.000E+05", -100000.0L},
      {"2.147E+09", "2E+04", 20000.0L},
      {"1", "0.1000E+07", 1000000.0L},
  };
  for (const Wide& c : cases) {
    SCOPED_TRACE(c.headLoad);
    TPlotText plot = SmallResult();
    plot.unitFlag = 2;
    QString text = plot.Text();
    text.replace(QStringLiteral("\n1 3 0\n"), QStringLiteral("\n%1 3 0\n").arg(c.curveNumber));
    text.replace(QStringLiteral("\n1000 0.12 "), QStringLiteral("\n%1 0.12 ").arg(c.headLoad));
    ASSERT_TRUE(
        Graphs().ReadPlotData(WriteText(PathOf(QStringLiteral("wide.kv4p")), text), Project()));
    EXPECT_EQ(Graphs().pltTZcurves().LineCount(), 1);
    EXPECT_EQ(At(Graphs().pltAxial(), 0, 1), Point(c.value, 0.12L));
  }
}

// How many of the unit an axis names make one of the engine's unit (inches,
// pounds and psi in English; metres, kilonewtons and kPa in SI).
long double PerEngineUnit(const QString& unitName) {
  static const std::map<QString, long double> perUnit = {
      {"in", 1}, {"ft", 1.0L / 12}, {"lbs", 1}, {"kips", 1.0L / 1000}, {"lbs/in^2", 1},
      {"m", 1},  {"mm", 1000},      {"kN", 1},  {"kN/m^2", 1}};
  const auto found = perUnit.find(unitName);
  EXPECT_TRUE(found != perUnit.end()) << unitName.toStdString();
  return found == perUnit.end() ? 0 : found->second;
}

TEST_F(PlotDataTest, EveryGraphShowsItsNumbersInTheUnitItsAxesName) {
  Project().Nloadmethod = 2;
  TPlotText plot = SmallResult();
  plot.tzCurves = {{{0, 0}, {2.5, 0.125}}};
  plot.tip = {{0, 0}, {150, 0.75}};
  plot.withCases = true;
  plot.cases = {TPlotText::TCase{1, {3000, 0.45, 0.4, 100}, {{60, 2700, 0.35}, {120, 800, 0.3}}}};
  // One point of each graph, and the values of the plot file behind its x
  // and y.
  struct Row {
    TGraphPlot& (TResultGraphs::*graph)() const;
    int line;
    int point;
    long double x;
    long double y;
  };
  const Row rows[] = {
      {&TResultGraphs::pltLoad, 1, 0, 1900, 60},        // load, depth
      {&TResultGraphs::pltDisp, 1, 0, 0.3, 60},         // movement, depth
      {&TResultGraphs::pltDispDown, 0, 1, 0.05, 120},   // movement, depth
      {&TResultGraphs::pltAxial, 0, 2, 2000, 0.35},     // head load, head movement
      {&TResultGraphs::pltTZcurves, 0, 1, 0.125, 2.5},  // z, t
      {&TResultGraphs::PltQW, 0, 1, 150, 0.75},         // Q, w
      {&TResultGraphs::pltAxialLoads, 1, 0, 3000, 0.45},
      {&TResultGraphs::pltLoadLoads, 0, 0, 2700, 60},
      {&TResultGraphs::pltDispLoads, 0, 1, 0.3, 120},
  };
  for (int flag : {1, 2}) {
    plot.unitFlag = flag;
    ASSERT_TRUE(Read(plot));
    for (const Row& row : rows) {
      const TGraphPlot& graph = (Graphs().*row.graph)();
      SCOPED_TRACE(graph.Caption().toStdString() + (flag == 1 ? ", English" : ", SI"));
      EXPECT_EQ(graph.ResultFolder, QFileInfo(PathOf("p.kv4p")).absolutePath());
      const QString xUnit = ExpandUnitCodes(graph.XUnits(), graph.Units());
      const QString yUnit = ExpandUnitCodes(graph.YUnits(), graph.Units());
      const TFloatPoint& p = graph.GetData(row.line, row.point);
      EXPECT_NEAR(p.x, row.x * PerEngineUnit(xUnit), 1e-9L * std::fabs(row.x) * 1000)
          << xUnit.toStdString();
      EXPECT_NEAR(p.y, row.y * PerEngineUnit(yUnit), 1e-9L * std::fabs(row.y) * 1000)
          << yUnit.toStdString();
    }
  }
}

TEST_F(PlotDataTest, LoadSettlementStartsAtTheOriginOnlyWithoutDownDrag) {
  struct Case {
    int downdrag;
    double firstLoad;
    bool fromOrigin;
  };
  for (const Case& c : {Case{0, 1000, true}, Case{0, -1000, false}, Case{1, 1000, false}}) {
    Project().downdrag = c.downdrag;
    TPlotText plot = SmallResult();
    plot.summary[0][0] = c.firstLoad;
    ASSERT_TRUE(Read(plot));
    const TGraphPlot& axial = Graphs().pltAxial();
    ASSERT_EQ(axial.GetLines(0).Count(), 3);
    const Point first = At(axial, 0, 1);
    EXPECT_EQ(At(axial, 0, 0), c.fromOrigin ? Point(0, 0) : first);
    EXPECT_EQ(At(Graphs().pltAxialLoads(), 0, 0), At(axial, 0, 0));
    EXPECT_EQ(At(Graphs().pltAxialLoads(), 0, 2), At(axial, 0, 2));
  }
}

TEST_F(PlotDataTest, DownDragAddsTheSoilSettlementLine) {
  Project().downdrag = 1;
  TGridTable& settlement = Tables().SoilSettlement();
  settlement.SetRowCount(3);
  for (int j = 0; j < 3; ++j) {
    settlement.SetFloatValue(0, j, 120.0L * j);
    settlement.SetFloatValue(1, j, 0.5L - 0.2L * j);
  }
  ASSERT_TRUE(Read(SmallResult()));
  const TGraphPlot& down = Graphs().pltDispDown();
  ASSERT_EQ(down.LineCount(), Graphs().pltDisp().LineCount() + 1);
  const TLine& soil = down.GetLines(2);
  EXPECT_EQ(soil.LineName(), "Soil Settl.");
  ASSERT_EQ(soil.Count(), 3);
  EXPECT_EQ(At(down, 2, 2), Point(0.5L - 0.4L, 20.0L)) << "depth in feet, settlement as entered";
}

TEST_F(PlotDataTest, AppliedLoadsKeepTheConvergedCasesOnly) {
  Project().Nloadmethod = 2;
  TPlotText plot = SmallResult();
  plot.withCases = true;
  auto converged = [](double load) {
    return TPlotText::TCase{1, {load, 0.5, 0.4, 100}, {{{60, load, 0.5}}, {{120, load / 2, 0.4}}}};
  };
  plot.cases = {converged(3000), TPlotText::TCase{0, {2000, 0, 0, 0}, {}}, converged(1000),
                converged(2500)};
  ASSERT_TRUE(Read(plot));
  for (const TGraphPlot* graph : {&Graphs().pltLoadLoads(), &Graphs().pltDispLoads()}) {
    ASSERT_EQ(graph->LineCount(), 3);
    EXPECT_EQ(graph->GetLines(0).LineName(), "Head load 3 kips");
    EXPECT_EQ(graph->GetLines(1).LineName(), "Head load 1 kips");
    EXPECT_EQ(graph->GetLines(2).LineName(), "Head load 2.5 kips");
  }
  EXPECT_EQ(At(Graphs().pltLoadLoads(), 1, 1), Point(0.5L, 10.0L));
  const TGraphPlot& axial = Graphs().pltAxialLoads();
  ASSERT_EQ(axial.GetLines(1).Count(), 3);
  // Joined in order of load, not in the order entered.
  EXPECT_EQ(At(axial, 1, 0), Point(1.0L, 0.5L));
  EXPECT_EQ(At(axial, 1, 1), Point(2.5L, 0.5L));
  EXPECT_EQ(At(axial, 1, 2), Point(3.0L, 0.5L));
  EXPECT_EQ(axial.GetLines(0).LineName(), "Tip movements");
  EXPECT_EQ(axial.GetLines(1).LineName(), "Applied loads");
}

TEST_F(PlotDataTest, DepthGraphsGetTheSoilLayersUnlessBothCurvesAreTheUsers) {
  TGridTable& layers = Tables().SoilLayers();
  layers.SetRowCount(2);
  layers.SetIntValue(0, 0, 5);
  layers.SetFloatValue(1, 0, 240);
  layers.SetIntValue(0, 1, 4);
  layers.SetFloatValue(1, 1, 600);
  for (bool userCurves : {false, true}) {
    Project().UserTz = userCurves;
    Project().UserQw = userCurves;
    ASSERT_TRUE(Read(SmallResult()));
    const TGraphPlot& load = Graphs().pltLoad();
    if (userCurves) {
      EXPECT_EQ(load.LayerLineCount(), 0);
      continue;
    }
    ASSERT_EQ(load.LayerLineCount(), 2);
    EXPECT_FALSE(load.ShowLayers());
    EXPECT_EQ(load.GetLayerLines(0).LineName(), " CLAY ");
    EXPECT_EQ(load.GetLayerData(0, 0).x, 1);
    EXPECT_EQ(load.GetLayerLines(1).LineName(), " SAND ");
    EXPECT_EQ(load.GetLayerData(1, 0).x, 7);
    EXPECT_EQ(load.GetLayerData(1, 0).y, 50) << "feet in English units";
    EXPECT_EQ(Graphs().pltAxial().LayerLineCount(), 0);
  }
}

TEST_F(PlotDataTest, DamagedFilesAreRefusedAndKeepWhatWasRead) {
  const QString good = SmallResult().Text();
  TPlotText withCases = SmallResult();
  withCases.withCases = true;
  withCases.cases = {TPlotText::TCase{0, {2000, 0, 0, 0}, {}}};
  struct Case {
    const char* what;
    QString text;
  };
  const std::vector<Case> cases = {
      {"empty", QString()},
      {"ends early", good.left(good.lastIndexOf(QLatin1Char('\n'), -3))},
      {"asterisks", QString(good).replace(QStringLiteral("1900"), QStringLiteral("********"))},
      {"huge count", QStringLiteral("2000000000\n1 2 3\n")},
      {"negative count", QStringLiteral("-3\n")},
      {"huge distribution", QStringLiteral("0\n0\n100000 100000 1\n1 2 3\n")},
      {"cut inside its last number", good.chopped(3)},
      {"without its last line break", good.chopped(1)},
      // The applied loads are not read for this project, but a file cut
      // short is no run's complete results.
      {"cut inside results that are not read", withCases.Text().chopped(2)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_FALSE(
        Graphs().ReadPlotData(WriteText(PathOf(QStringLiteral("bad.kv4p")), c.text), Project()));
  }
  EXPECT_FALSE(Graphs().ReadPlotData(PathOf(QStringLiteral("missing.kv4p")), Project()));
  // Read at once, never waited on.
  const QString pipe = PathOf(QStringLiteral("pipe.kv4p"));
  ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0644), 0);
  EXPECT_FALSE(Graphs().ReadPlotData(pipe, Project()));
  EXPECT_TRUE(Graphs().ReadPlotData(WriteText(PathOf(QStringLiteral("w.kv4p")), withCases.Text()),
                                    Project()));
  // A file that ends in its summary keeps the curves and distributions.
  const QString early = good.left(good.lastIndexOf(QLatin1Char('\n'), -3));
  ASSERT_FALSE(
      Graphs().ReadPlotData(WriteText(PathOf(QStringLiteral("b.kv4p")), early), Project()));
  EXPECT_EQ(Graphs().pltTZcurves().LineCount(), 1);
  EXPECT_EQ(At(Graphs().pltLoad(), 1, 0), Point(1.9L, 5.0L));
  // The same cut inside the summary's last number: what came before stays,
  // and the reader names the file.
  const QString cut = WriteText(PathOf(QStringLiteral("c.kv4p")), good.chopped(3));
  ASSERT_FALSE(Graphs().ReadPlotData(cut, Project()));
  EXPECT_EQ(At(Graphs().pltLoad(), 1, 0), Point(1.9L, 5.0L));
  TPlotFileReader reader(QFile::encodeName(cut).toStdString());
  try {
    for (;;) reader.Float();
  } catch (const PlotFileError& error) {
    EXPECT_EQ(QString::fromStdString(error.what()),
              QStringLiteral("The plot data file \"%1\" was cut short: its last line has no line "
                             "break.")
                  .arg(cut));
  }
}

}  // namespace
}  // namespace korvan::testing
