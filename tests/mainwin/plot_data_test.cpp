// Reading the plot data file into the result graphs: padding of the t-z
// curves, English scaling, the down-drag line, the origin of the
// load-settlement curves, the applied-load graphs and damaged files.
#include <sys/stat.h>

#include "Exceptions.h"
#include "PlotReader.h"
#include "mainwin_support.h"

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
  plot.tzCurves = {{{0, 0}, {1, 1}}, {{0, 0}, {1, 1}}};
  for (const auto& [units, second] :
       {std::pair{1, QStringLiteral("120 in")}, std::pair{2, QStringLiteral("120 m")}}) {
    Project().SetUnits(units);
    ASSERT_TRUE(Read(plot));
    EXPECT_EQ(Graphs().pltTZcurves().GetLines(0).LineName(), units == 1 ? "0 in" : "0 m");
    EXPECT_EQ(Graphs().pltTZcurves().GetLines(1).LineName(), second);
  }
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
    EXPECT_EQ(At(Graphs().pltDisp(), 0, 0), Point(0.25L, depth)) << "movements as read";
    EXPECT_EQ(At(Graphs().pltAxial(), 0, 1), Point(load, 0.3L));
    EXPECT_EQ(Graphs().PltQW().GetLines(0).Count(), 2);
    for (const auto& graph : Graphs().All()) EXPECT_EQ(graph->Units(), flag);
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
  TGridTable& settlement = Tables().TblSettlement2();
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
  plot.cases = {converged(1000), TPlotText::TCase{0, {2000, 0, 0, 0}, {}}, converged(3000)};
  ASSERT_TRUE(Read(plot));
  for (const TGraphPlot* graph : {&Graphs().pltLoadLoads(), &Graphs().pltDispLoads()}) {
    ASSERT_EQ(graph->LineCount(), 2);
    EXPECT_EQ(graph->GetLines(0).LineName(), "1000 lb");
    EXPECT_EQ(graph->GetLines(1).LineName(), "3000 lb");
  }
  EXPECT_EQ(At(Graphs().pltLoadLoads(), 1, 1), Point(1.5L, 10.0L));
  const TGraphPlot& axial = Graphs().pltAxialLoads();
  EXPECT_EQ(axial.GetLines(1).Count(), 2);
  EXPECT_EQ(At(axial, 1, 1), Point(3.0L, 0.5L));
  EXPECT_EQ(axial.GetLines(0).LineName(),
            QStringLiteral("From Applied Displacements").leftJustified(36));
  EXPECT_EQ(axial.GetLines(1).LineName(), QStringLiteral("From Applied Loads").leftJustified(36));
}

TEST_F(PlotDataTest, DepthGraphsGetTheSoilLayersUnlessBothCurvesAreTheUsers) {
  TGridTable& layers = Tables().D2();
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
  TPlotReader reader(cut);
  try {
    for (;;) reader.Float();
  } catch (const EInOutError& error) {
    EXPECT_EQ(error.Message(),
              QStringLiteral("The plot data file \"%1\" was cut short: its last line has no line "
                             "break.")
                  .arg(cut));
  }
}

}  // namespace
}  // namespace korvan::testing
