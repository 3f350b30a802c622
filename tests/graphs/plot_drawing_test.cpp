// The drawing checked pixel by pixel where its parts must be: frame, lines
// in their colours, markers on every n-th point, hatches and tiles of the
// layer strip, the legend box of pages.
#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QPainter>
#include <QPicture>
#include <QPrinter>
#include <cmath>

#include "GraphStyle.h"
#include "PlotPrint.h"
#include "graph_fixtures.h"

namespace korvan {
namespace {

using testing::kBlack;
using testing::kWhite;
using testing::PixelAt;

constexpr QRgb kBlue = 0x0000FF;

// Two horizontal lines of 11 points, at y = 2 (black) and y = 4 (blue), x
// from 1.5 to 11.5, between the vertical grid lines; an inactive third line
// stretches the range to 14 x 8.
std::unique_ptr<TGraphPlot> TwoLevels() {
  auto graph = testing::MakeGraph(3, 11, [](int i, int j) {
    return i == 2 ? TFloatPoint(14, 8) : TFloatPoint(j + 1.5L, 2 + 2 * i);
  });
  graph->GetLines(2).SetActive(false);
  graph->SetXOnTop(false);
  return graph;
}

TEST(PlotDrawing, FrameAndLinesInTheColoursOfTheirActivePositions) {
  auto graph = TwoLevels();
  TPlotView view = testing::LaidOutView(*graph, QSize(600, 400));
  const QImage image = testing::Render(view);
  const TPixelRect& a = view.DrawWindow.GraphArea;
  const int midX = (a.Left + a.Right) / 2 + 3;
  const int midY = (a.Top + a.Bottom) / 2 + 3;
  for (QPoint edge :
       {QPoint(a.Left, midY), QPoint(a.Right, midY), QPoint(midX, a.Top), QPoint(midX, a.Bottom)})
    EXPECT_EQ(PixelAt(image, edge), kBlack) << edge.x() << "," << edge.y();
  EXPECT_EQ(PixelAt(image, {a.Left - 3, midY}), kWhite);

  const QPoint black = view.LogicToScreen({2.5, 2});
  const QPoint blue = view.LogicToScreen({3.5, 4});
  EXPECT_EQ(PixelAt(image, black), kBlack);
  EXPECT_EQ(PixelAt(image, blue), kBlue);

  // An invisible active line keeps its colour position.
  graph->GetLines(0).SetVisible(false);
  const QImage without = testing::Render(view);
  EXPECT_EQ(PixelAt(without, black), kWhite);
  EXPECT_EQ(PixelAt(without, blue), kBlue);
}

TEST(PlotDrawing, MarkersSitOnEveryNthPointOnly) {
  const struct {
    int every;
    std::vector<int> marked;
  } cases[] = {
      {5, {0, 5, 10}}, {1, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}}, {3, {0, 3, 6, 9}}, {0, {}}};
  for (const auto& c : cases) {
    auto graph = TwoLevels();
    graph->SetMarkers(c.every);
    TPlotView view = testing::LaidOutView(*graph, QSize(600, 400));
    const QImage image = testing::Render(view);
    for (int j = 0; j <= 10; ++j) {
      const bool marked = std::count(c.marked.begin(), c.marked.end(), j) > 0;
      // Line 1's triangle points down to 1/32 inch below the point; line 2's
      // square has its side 2 pixels to the right.
      const QPoint p0 = view.LogicToScreen({j + 1.5L, 2});
      const QPoint p1 = view.LogicToScreen({j + 1.5L, 4});
      EXPECT_EQ(PixelAt(image, p0 + QPoint(0, 3)), marked ? kBlack : kWhite)
          << "every " << c.every << " point " << j;
      EXPECT_EQ(PixelAt(image, p1 + QPoint(2, 1)), marked ? kBlue : kWhite)
          << "every " << c.every << " point " << j;
    }
  }
}

TEST(PlotDrawing, MarkersStampedOnBitmapsAreThePixelsOfTheirOutlines) {
  // A recorded drawing (as on pages and vector pictures) draws every
  // outline; played back onto a bitmap it must match the stamped markers.
  for (int width : {1, 2}) {
    auto graph = testing::MakeGraph(10, 40, [](int i, int j) {
      return TFloatPoint(j * (i + 1) / 7.0L, 3 * i + std::sin(j / 3.0L));
    });
    graph->SetWidthLine(width);
    TPlotView view = testing::LaidOutView(*graph, QSize(640, 480));
    const QImage stamped = testing::Render(view);
    QPicture recording;
    {
      QPainter painter(&recording);
      view.DrawGraph(painter);
    }
    QImage outlined(stamped.size(), QImage::Format_RGB32);
    outlined.setDotsPerMeterX(stamped.dotsPerMeterX());
    outlined.setDotsPerMeterY(stamped.dotsPerMeterY());
    QPainter painter(&outlined);
    painter.drawPicture(0, 0, recording);
    painter.end();
    const TPixelRect& a = view.DrawWindow.GraphArea;
    int differing = 0;
    for (int y = a.Top; y <= a.Bottom; ++y)
      for (int x = a.Left; x <= a.Right; ++x)
        differing += testing::PixelAt(stamped, {x, y}) != testing::PixelAt(outlined, {x, y});
    EXPECT_EQ(differing, 0) << "width " << width;
  }
}

// The layer strip of a depth graph: clay (backward-diagonal hatch) to 4,
// sand (tile) to 8.
std::unique_ptr<TGraphPlot> Layered() {
  auto graph = testing::MakeGraph(1, 2, [](int, int j) { return TFloatPoint(5 * j, 8 * j); });
  graph->SetLayerLineCount(2);
  graph->SetLayerCount(1);
  graph->GetLayerData(0, 0) = TFloatPoint(1, 4);
  graph->GetLayerData(1, 0) = TFloatPoint(7, 8);
  graph->SetShowLayers(true);
  return graph;
}

TEST(PlotDrawing, LayerBoxesAreHatchedOrTiledByTheirPatternCodes) {
  auto graph = Layered();
  TPlotView view = testing::LaidOutView(*graph, QSize(700, 500));
  const QImage image = testing::Render(view);
  const TPixelRect& strip = view.DrawWindow.LayersArea;
  const int clayBottom = view.LogicToScreen({0, 4}).y();
  EXPECT_EQ(PixelAt(image, {(strip.Left + strip.Right) / 2, clayBottom}), kBlack);  // outline

  // Clay, in the upper quarter away from its name: "/" lines only.
  int hatched = 0;
  for (int y = strip.Top + 4; y < strip.Top + (clayBottom - strip.Top) / 4; ++y) {
    for (int x = strip.Left + 4; x < strip.Right - 4; ++x) {
      if (PixelAt(image, {x, y}) != kBlack) continue;
      ++hatched;
      EXPECT_EQ(PixelAt(image, {x + 1, y - 1}), kBlack) << x << "," << y;
      EXPECT_EQ(PixelAt(image, {x + 1, y + 1}), kWhite) << x << "," << y;
    }
  }
  EXPECT_GT(hatched, 20);

  // Sand: scattered grains on white.
  int grains = 0;
  int paper = 0;
  const int sandTop = clayBottom + 4;
  for (int y = sandTop; y < sandTop + 40; ++y)
    for (int x = strip.Left + 4; x < strip.Right - 4; ++x)
      (PixelAt(image, {x, y}) == kBlack ? grains : paper)++;
  EXPECT_GT(grains, 20);
  EXPECT_GT(paper, 10 * grains);
}

TEST(PlotDrawing, ASurfaceUnderAnInchStaysBlank) {
  auto graph = TwoLevels();
  TPlotView view = testing::LaidOutView(*graph, QSize(90, 400));
  const QImage image = testing::Render(view);
  for (int y = 0; y < image.height(); y += 7)
    for (int x = 0; x < image.width(); x += 3) ASSERT_EQ(PixelAt(image, {x, y}), kWhite);
}

TEST(PlotDrawing, APrintedLegendPlacedTopLeftOnScreenSitsInTheTopLeftOfThePlottingArea) {
  auto graph = TwoLevels();
  TPlotView view = testing::LaidOutView(*graph, QSize(800, 600));
  view.LegendPlace = TLegendPlace{QPoint(0, 0), QSize(800, 600)};
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setResolution(96);
  printer.setPageSize(QPageSize(QPageSize::Letter));
  TPlotView page = PageView(view, printer, TPageMargins{});
  const TPixelRect& a = page.DrawWindow.GraphArea;
  EXPECT_EQ(page.DrawWindow.Bounds.Left, 96);
  EXPECT_GT(a.Left, page.DrawWindow.Bounds.Left + page.FontHeight());  // room for labels
  EXPECT_EQ(a.Right, page.DrawWindow.Bounds.Right);

  const QImage image = testing::Render(page);
  QImage probe(1, 1, QImage::Format_RGB32);
  probe.setDotsPerMeterX(image.dotsPerMeterX());
  probe.setDotsPerMeterY(image.dotsPerMeterY());
  const QFontMetrics metrics(SerifFont(page.FontHeight()), &probe);
  const int boxHeight = 2 * (metrics.height() + 96 / 32) + 96 / 32;
  const int boxWidth = metrics.horizontalAdvance("Curve #1") + 96 * 3 / 16;
  // The box's bottom edge: a solid line where only the dotted grid could be.
  for (int x = a.Left + 2; x < a.Left + boxWidth - 1; ++x)
    EXPECT_EQ(PixelAt(image, {x, a.Top + boxHeight}), kBlack) << x;
  EXPECT_EQ(PixelAt(image, {a.Left + boxWidth + 3, a.Top + boxHeight}), kWhite);
}

}  // namespace
}  // namespace korvan
