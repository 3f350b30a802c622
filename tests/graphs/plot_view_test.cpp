#include <gtest/gtest.h>

#include "graph_fixtures.h"

namespace korvan {
namespace {

using testing::LaidOutView;
using testing::MakeGraph;

// A graph of one line through two corners of its data.
std::unique_ptr<TGraphPlot> Span(long double x0, long double y0, long double x1, long double y1) {
  return MakeGraph(1, 2,
                   [=](int, int j) { return j == 0 ? TFloatPoint(x0, y0) : TFloatPoint(x1, y1); });
}

TEST(PlotView, FitsTheFullRangeWithTheOriginToRoundNumbers) {
  const struct {
    long double x0, y0, x1, y1;
    TFloatRect fitted;
  } cases[] = {
      {3, -120, 47, -5, {0, 50, -120, 0}},           // u = 10 on both axes
      {0, 1, 24, 2, {0, 24, 0, 2}},                  // 24 starts below 3: u = 1
      {0, 1, 35, 2, {0, 40, 0, 2}},                  // u = 10
      {0, 0, 0, 0, {-0.01L, 0.01L, -0.01L, 0.01L}},  // empty ranges widened
      {0.5, 0.25, 0.75, 0.35, {0, 0.8L, 0, 0.4L}},
  };
  for (const auto& c : cases) {
    auto graph = Span(c.x0, c.y0, c.x1, c.y1);
    TPlotView view(*graph);
    ASSERT_TRUE(view.FitBounds());
    EXPECT_NEAR(double(view.LogicBounds.Left), double(c.fitted.Left), 1e-12) << double(c.x1);
    EXPECT_NEAR(double(view.LogicBounds.Right), double(c.fitted.Right), 1e-12) << double(c.x1);
    EXPECT_NEAR(double(view.LogicBounds.Top), double(c.fitted.Top), 1e-12) << double(c.y0);
    EXPECT_NEAR(double(view.LogicBounds.Bottom), double(c.fitted.Bottom), 1e-12) << double(c.y1);
  }
  auto infinite = Span(0, 0, HUGE_VALL, 1);
  EXPECT_FALSE(TPlotView(*infinite).FitBounds());
}

TEST(PlotView, LaysOutTheWindowAroundCaptionsTitleAndLayerStrip) {
  auto graph = Span(0, 0, 10, 10);
  graph->SetXOnTop(true);
  TPlotView view = LaidOutView(*graph, QSize(800, 600));  // h = 14 at 96 pixels per inch
  const TPixelRect plain = view.DrawWindow.GraphArea;
  EXPECT_EQ(view.FontHeight(), 14);
  EXPECT_EQ(plain.Left, 28 + 12 + 1);
  EXPECT_EQ(plain.Right, 800 - 24 - 7);
  EXPECT_EQ(plain.Top, 28 + 12 + 1);
  EXPECT_EQ(plain.Bottom, 600 - 24 - 7);
  graph->UserCaption = "Pile 3";
  graph->SetShowLayers(true);
  view.LayoutWindow();
  EXPECT_EQ(view.DrawWindow.GraphArea.Top, plain.Top + 1 + 14);
  EXPECT_EQ(view.DrawWindow.GraphArea.Right, plain.Right - 96);
  EXPECT_EQ(view.DrawWindow.LayersArea.Left, plain.Right - 76);
  EXPECT_EQ(view.DrawWindow.LayersArea.Right, plain.Right);
  graph->SetXOnTop(false);
  graph->UserCaptionOnTop = false;
  view.LayoutWindow();
  EXPECT_EQ(view.DrawWindow.GraphArea.Top, 7 + 24);
  EXPECT_EQ(view.DrawWindow.GraphArea.Bottom, 600 - 28 - 12 - 1 - 14);
}

TEST(PlotView, MapsDataToPixelsBothWaysWithDepthGrowingDownwardsWhenXIsOnTop) {
  auto graph = Span(0, 0, 10, 10);
  for (bool onTop : {true, false}) {
    graph->SetXOnTop(onTop);
    TPlotView view = LaidOutView(*graph, QSize(800, 600));
    const TPixelRect& a = view.DrawWindow.GraphArea;
    EXPECT_EQ(view.LogicToScreen({0, 0}), QPoint(a.Left, onTop ? a.Top : a.Bottom));
    EXPECT_EQ(view.LogicToScreen({10, 10}), QPoint(a.Right, onTop ? a.Bottom : a.Top));
    const TFloatPoint back = view.ScreenToLogic(view.LogicToScreen({5, 2.5}));
    EXPECT_NEAR(double(back.x), 5, 0.02);
    EXPECT_NEAR(double(back.y), 2.5, 0.03);
  }
}

TEST(PlotView, TickSpacingIsOneTwoOrFiveTimesAPowerOfTen) {
  const struct {
    long double range;
    int n;
    long double major;
  } cases[] = {{40, 7, 5},  {1, 7, 0.1L}, {100, 3, 20},   {9.5L, 1, 10},
               {60, 2, 20}, {120, 5, 20}, {1000, 1, 1000}};
  for (const auto& c : cases)
    EXPECT_NEAR(double(MajorTickSpacing(c.range, c.n)), double(c.major), 1e-15)
        << double(c.range) << " / " << c.n;
}

TEST(PlotView, SixHundredPixelsAtFourteenGiveSevenPartsAndMinorTicksOfOne) {
  auto graph = Span(0, 0, 35, 35);  // fitted to 0..40
  TPlotView view = LaidOutView(*graph, QSize(800, 600));
  view.DrawWindow.GraphArea.Left = 50;
  view.DrawWindow.GraphArea.Right = 650;
  ASSERT_TRUE(view.ComputeTicks());
  EXPECT_EQ(double(view.MarkSpacing.x), 1);
  EXPECT_EQ(view.Start.x(), 0);
  EXPECT_EQ(view.Finish.x(), 40);  // majors every fifth: 0, 5, ..., 40
  view.DrawWindow.GraphArea.Right = 50 + 6 * 14 - 1;
  EXPECT_FALSE(view.ComputeTicks());
}

TEST(PlotView, ElevenAndFifteenShareTheMarkersOfOneAndFive) {
  for (auto [a, b] : {std::pair{10, 0}, std::pair{14, 4}, std::pair{29, 9}})
    EXPECT_EQ(MarkerOutline(a, 3, 3), MarkerOutline(b, 3, 3)) << a;
  EXPECT_NE(MarkerOutline(0, 3, 3), MarkerOutline(4, 3, 3));
  // Shape 1 points down; shape 3 is a triangle with a corner up.
  const std::vector<QPoint> down = MarkerOutline(0, 3, 3);
  ASSERT_EQ(down.size(), 4u);
  EXPECT_EQ(down.front(), QPoint(0, 3));
  EXPECT_EQ(down.back(), down.front());
  EXPECT_EQ(MarkerOutline(2, 3, 3).front(), QPoint(0, -3));
  EXPECT_EQ(MarkerOutline(9, 3, 3).size(), 11u);
}

TEST(PlotView, AZoomNarrowerThanATwentiethIsWidenedAroundItsCentreInsideTheFullRange) {
  auto graph = Span(0, 0, 100, 100);
  TPlotView view = LaidOutView(*graph, QSize(1200, 1200));
  TPixelRect& a = view.DrawWindow.GraphArea;
  a = {100, 100, 1100, 1100};  // 10 pixels = 1/100 of the full range
  const struct {
    QPoint from, to;
    long double left, right;
  } cases[] = {
      {{600, 300}, {610, 700}, 48, 53},     // centre 50.5 +- 2.5
      {{100, 300}, {110, 700}, 0, 5},       // pushed back inside at the left
      {{1095, 300}, {1200, 700}, 95, 100},  // release clamped, pushed back at the right
      {{300, 300}, {700, 700}, 20, 60},     // wide enough: as dragged
  };
  for (const auto& c : cases) {
    view.LogicBounds = view.MaxLogicBounds;
    ASSERT_TRUE(view.ZoomIn(c.from, c.to));
    EXPECT_NEAR(double(view.LogicBounds.Left), double(c.left), 1e-9) << c.from.x();
    EXPECT_NEAR(double(view.LogicBounds.Right), double(c.right), 1e-9) << c.from.x();
  }
  const TFloatRect before = view.LogicBounds;
  EXPECT_FALSE(view.ZoomIn({300, 300}, {300, 700}));
  EXPECT_EQ(view.LogicBounds.Left, before.Left);
}

TEST(PlotView, RightClicksDoubleTheRangeAndEndAtTheFullRange) {
  auto graph = Span(0, -120, 47, 0);  // full range 0..50 x -120..0
  TPlotView view = LaidOutView(*graph, QSize(1200, 1200));
  view.LogicBounds = {20, 22.5L, -60, -54};
  std::vector<double> widths;
  for (int click = 0; click < 8; ++click) {
    view.ZoomOut(view.DrawWindow.GraphArea.Clamp({1150, 1150}));
    widths.push_back(double(view.LogicBounds.Right - view.LogicBounds.Left));
    EXPECT_GE(view.LogicBounds.Left, view.MaxLogicBounds.Left);
    EXPECT_LE(view.LogicBounds.Right, view.MaxLogicBounds.Right);
    EXPECT_GE(view.LogicBounds.Top, view.MaxLogicBounds.Top);
    EXPECT_LE(view.LogicBounds.Bottom, view.MaxLogicBounds.Bottom);
  }
  EXPECT_EQ(widths, (std::vector<double>{5, 10, 20, 40, 50, 50, 50, 50}));
  EXPECT_EQ(view.LogicBounds.Top, -120);
  EXPECT_EQ(view.LogicBounds.Bottom, 0);
}

}  // namespace
}  // namespace korvan
