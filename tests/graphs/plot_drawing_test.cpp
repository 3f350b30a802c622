// The drawing checked pixel by pixel where its parts must be: frame, lines
// in their colours, markers on every n-th point, hatches and tiles of the
// layer strip, the legend box of pages.
#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QPainter>
#include <QPicture>
#include <QPrinter>
#include <algorithm>
#include <cmath>

#include "graph_fixtures.h"
#include "graphs/GraphStyle.h"
#include "graphs/LegendLayout.h"
#include "graphs/windows/PlotPrint.h"

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
  view.LegendPlace = TLegendPlace{QPoint(0, 0), QSize(800, 600), QRect(), QSize()};
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
  // The box's bottom edge, its last row: a solid line where only the dotted
  // grid could be.
  for (int x = a.Left + 2; x < a.Left + boxWidth - 1; ++x)
    EXPECT_EQ(PixelAt(image, {x, a.Top + boxHeight - 1}), kBlack) << x;
  EXPECT_EQ(PixelAt(image, {a.Left + boxWidth + 3, a.Top + boxHeight - 1}), kWhite);
}

// Distribution-like lines: line i runs down the depth from x = 10 (i + 1)
// to half of that, so that the lines fan out over the whole width.
std::unique_ptr<TGraphPlot> Fan(int lines, const QString& namePrefix) {
  auto graph = testing::MakeGraph(lines, 21, [lines](int i, int j) {
    const long double top = 100.0L * (i + 1) / lines;
    return TFloatPoint(top - top / 2 * j / 20, 3 * j);
  });
  for (int i = 0; i < lines; ++i)
    graph->GetLines(i).SetLineName(namePrefix + QString::number(i + 1));
  return graph;
}

// Where the legend of a picture or page goes for graphs of few and many
// lines, short and long names, on pictures from the smallest to pages.
TEST(LegendLayout, TheLegendListsEveryVisibleLineInsideTheDrawingAndOffTheData) {
  struct Case {
    const char* what;
    int lines;
    QString prefix;
    QSize size;
    int pixelsPerInch;
    bool expectBeside;
    bool expectOverArea;
  };
  const QString longName =
      QStringLiteral("Tip movement of the pile under the heaviest load, case ");
  const Case cases[] = {
      {"three lines, default picture", 3, "Curve #", {432, 288}, 72, false, true},
      {"eighteen lines, default picture", 18, "Tip movement 0.00", {432, 288}, 72, true, false},
      {"eighteen lines, large picture", 18, "Tip movement 0.00", {1800, 1200}, 300, false, false},
      {"five long names", 5, longName, {432, 288}, 72, false, false},
      {"thirty lines, smallest picture", 30, "Depth 12.5 ft ", {20, 20}, 10, false, false},
      {"eighteen lines, letter page", 18, "Tip movement 0.00", {816, 1056}, 96, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto graph = Fan(c.lines, c.prefix);
    graph->GetLines(1).SetVisible(false);
    TPlotView view = testing::LaidOutView(*graph, c.size, c.pixelsPerInch);
    view.DrawWindow.PrintLegend = true;
    view.PlaceLegendBox(false);
    const TLegendLayout& legend = view.PageLegend;
    const TPixelRect& b = view.DrawWindow.Bounds;
    const TPixelRect& a = view.DrawWindow.GraphArea;
    ASSERT_EQ(static_cast<int>(legend.Positions.size()), c.lines - 1) << "every visible line";
    EXPECT_EQ(std::count(legend.Positions.begin(), legend.Positions.end(), 1), 0);
    EXPECT_GE(legend.Box.left(), b.Left);
    EXPECT_GE(legend.Box.top(), b.Top);
    EXPECT_LE(legend.Box.right(), b.Right);
    EXPECT_LE(legend.Box.bottom(), b.Bottom);
    EXPECT_LE(legend.FontPixels, view.FontHeight());
    EXPECT_LE(legend.Rows * legend.Columns, c.lines + legend.Columns);
    EXPECT_GE(legend.Rows * legend.Columns, c.lines - 1);
    const bool beside = legend.RoomBeside > 0;
    if (c.expectBeside) EXPECT_TRUE(beside);
    if (c.expectOverArea) EXPECT_FALSE(beside);
    if (beside) {
      EXPECT_GT(legend.Box.left(), a.Right) << "beside, the plotting area gave up its room";
    } else if (c.pixelsPerInch > 10) {
      EXPECT_EQ(CoveredSegments(view, legend.Box), 0) << "where there is room, off the data";
      EXPECT_GE(legend.Box.left(), a.Left);
      EXPECT_LE(legend.Box.right(), a.Right);
    }
    if (c.pixelsPerInch > 10) {
      // Nothing of the names is cut where a font small enough exists.
      for (size_t k = 0; k < legend.Texts.size(); ++k)
        EXPECT_EQ(legend.Texts[k], view.Legend[static_cast<size_t>(legend.Positions[k])].Text);
      // The box is drawn where the layout put it.
      const QImage image = testing::Render(view);
      const QPoint edge(legend.Box.center().x(), legend.Box.bottom());
      EXPECT_EQ(PixelAt(image, edge), kBlack);
    }
  }
}

TEST(LegendLayout, ThePictureKeepsTheEdgesTheScreenLegendSitsAt) {
  struct Case {
    QPoint onScreen;  // top-left of a 100 x 40 legend in an 800 x 600 window
    bool right;
    bool bottom;
  };
  const QRect screenArea(QPoint(50, 60), QPoint(760, 560));
  for (const Case& c : {Case{{660, 520}, true, true}, Case{{50, 60}, false, false},
                        Case{{660, 60}, true, false}, Case{{50, 520}, false, true}}) {
    auto graph = TwoLevels();
    graph->SetXOnTop(true);  // the lines then run at the top of the area
    TPlotView view = testing::LaidOutView(*graph, QSize(864, 576), 144);
    view.LegendPlace = TLegendPlace{c.onScreen, QSize(800, 600), screenArea, QSize(100, 40)};
    view.PlaceLegendBox(false);
    const QRect box = view.PageLegend.Box;
    const TPixelRect& a = view.DrawWindow.GraphArea;
    if (CoveredSegments(view, box) != 0) continue;  // moved off the data
    EXPECT_EQ(c.right ? box.right() + 1 : box.left(), c.right ? a.Right : a.Left)
        << c.onScreen.x() << "," << c.onScreen.y();
    EXPECT_EQ(c.bottom ? box.bottom() + 1 : box.top(), c.bottom ? a.Bottom : a.Top)
        << c.onScreen.x() << "," << c.onScreen.y();
  }
}

TEST(PlotDrawing, CornerTickLabelsOfTheTwoAxesNeverMeet) {
  // Ranges of negative numbers wide enough that the corner labels are long.
  for (bool onTop : {true, false}) {
    auto graph = testing::MakeGraph(
        1, 5, [](int, int j) { return TFloatPoint(-300.0L + 70 * j, -6.0L + 1.4L * j); });
    graph->SetXOnTop(onTop);
    graph->SetShowLegend(false);
    TPlotView view = testing::LaidOutView(*graph, QSize(600, 400));
    const QImage image = testing::Render(view);
    const TPixelRect& a = view.DrawWindow.GraphArea;
    const int h = view.FontHeight();
    // The square outside the corner where both axes' first labels end.
    const int top = onTop ? a.Top - 2 * h : a.Bottom + 2;
    for (int y = top; y < top + 2 * h - 2; ++y)
      for (int x = a.Left - 2 * h; x < a.Left - 1; ++x)
        ASSERT_EQ(PixelAt(image, {x, y}), kWhite)
            << (onTop ? "top" : "bottom") << " " << x << "," << y;
  }
}

TEST(PlotDrawing, GridLinesAreDottedAtEveryResolution) {
  for (int ppi : {96, 300, 600}) {
    auto graph = TwoLevels();
    TPlotView view = testing::LaidOutView(*graph, QSize(6 * ppi, 4 * ppi), ppi);
    const QImage image = testing::Render(view);
    ASSERT_TRUE(view.ComputeTicks());
    const int k = (view.Start.x() / 5 + 1) * 5;  // a major tick inside the range
    const int x = view.LogicToScreen(TFloatPoint(k * view.MarkSpacing.x, 0)).x();
    const TPixelRect& a = view.DrawWindow.GraphArea;
    // Runs of ink and of paper down the grid line, between the data lines'
    // rows: the gaps must be wide enough to see, a 48th of an inch.
    int longest = 0;
    int run = 0;
    int gap = 0;
    int widestGap = 0;
    int ink = 0;
    const int from = a.Top + ppi / 8;
    const int to = view.LogicToScreen(TFloatPoint(0, 4.5L)).y();
    for (int y = from; y < to; ++y) {
      const bool black = PixelAt(image, {x, y}) == kBlack;
      ink += black;
      run = black ? run + 1 : 0;
      gap = black ? 0 : gap + 1;
      longest = std::max(longest, run);
      widestGap = std::max(widestGap, gap);
    }
    EXPECT_GE(widestGap, ppi / 48) << ppi;
    EXPECT_GT(ink, 0) << ppi;
    EXPECT_LE(longest, std::max(2, ppi / 48)) << ppi << ": dots, not a line";
    EXPECT_LT(ink * 2, to - from) << ppi;
  }
}

}  // namespace
}  // namespace korvan
