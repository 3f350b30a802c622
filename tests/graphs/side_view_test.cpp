// The pile side view: its geometry and view window, the drawing read back
// from an image, the depth read-out and the printed page.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QFile>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QPrinter>
#include <QTemporaryDir>
#include <cmath>
#include <limits>

#include "graph_fixtures.h"
#include "graphs/SideViewDrawing.h"
#include "graphs/windows/SideViewDialog.h"

namespace korvan {
namespace {

using testing::PixelAt;
constexpr QRgb kOlive = 0x808000;
constexpr QRgb kSilver = 0xC0C0C0;

// A 40 ft pile of 24 in diameter with its head 2 ft above the ground in one
// layer of `type` down to 50 ft (English units, inches).
TPileProfile OneLayer(int type) {
  return {480, -24, 24, 1, {{type, 600}}};
}

// How many pixels of `rect` in `image` have `color`.
int Count(const QImage& image, QRect rect, QRgb color) {
  int n = 0;
  for (int y = rect.top(); y <= rect.bottom(); ++y)
    for (int x = rect.left(); x <= rect.right(); ++x) n += PixelAt(image, {x, y}) == color;
  return n;
}

// The window shown with `profile` and activated, as the main window opens it.
struct TShownView {
  explicit TShownView(TPileProfile profile)
      : View(new TSideViewDialog([profile] { return profile; })) {
    View->ShowChild();
    QApplication::processEvents();
  }
  ~TShownView() { delete View; }
  QImage Grab() { return View->grab().toImage(); }
  QPointer<TSideViewDialog> View;
};

TEST(SideViewGeometry, ExtentsAreThePileAndLayersWithFivePercentMoreAndFitTheWindow) {
  TSideViewGeometry g;
  g.Build(OneLayer(1), QSize(632, 422));
  ASSERT_FALSE(g.NoDraw);
  ASSERT_EQ(g.DataG.size(), 1u);
  EXPECT_DOUBLE_EQ(double(g.diam1.first), 36);  // 1.5 × OD
  EXPECT_DOUBLE_EQ(double(g.DataG[0].TopLeft.x), -18);
  EXPECT_DOUBLE_EQ(double(g.DataG[0].BottomRight.y), 456);
  EXPECT_DOUBLE_EQ(double(g.DTop), -24 * 1.05);
  EXPECT_DOUBLE_EQ(double(g.DBottom), 600 * 1.05);
  EXPECT_DOUBLE_EQ(double(g.DRight), 18 * 1.05);
  // A wide window: the depth range stays, the horizontal range grows to
  // the window's proportions.
  EXPECT_DOUBLE_EQ(double(g.Top), double(g.DTop));
  EXPECT_DOUBLE_EQ(double(g.Bottom), double(g.DBottom));
  EXPECT_NEAR(double((g.Right - g.Left) / (g.Bottom - g.Top)), 632.0 / 422, 1e-12);
}

TEST(SideViewGeometry, ResizingWidensOrLengthensFromTheExtentsEveryTime) {
  struct Case {
    QSize Client;
    bool DepthsKept;
  };
  TSideViewGeometry g;
  g.Build(OneLayer(2), QSize(632, 422));
  const long double top = g.Top, bottom = g.Bottom;
  for (const Case& c : {Case{{1264, 422}, true}, Case{{632, 422}, true}, Case{{30, 1000}, false},
                        Case{{2000, 300}, true}, Case{{1, 4000}, false}}) {
    g.FitAspect(c.Client);
    SCOPED_TRACE(c.Client.width());
    ASSERT_FALSE(g.NoDraw);
    EXPECT_EQ(g.Top == top && g.Bottom == bottom, c.DepthsKept);
    if (!c.DepthsKept) EXPECT_EQ(g.Left, g.DLeft);
    EXPECT_NEAR(double((g.Right - g.Left) / (g.Bottom - g.Top)),
                double(c.Client.width()) / c.Client.height(), 1e-9);
  }
}

TEST(SideViewGeometry, EmptyWindowsNoLayersAndOverflowNeverDivideByZero) {
  TSideViewGeometry g;
  g.Build(OneLayer(1), QSize(0, 0));
  EXPECT_FALSE(g.NoDraw);
  EXPECT_EQ(g.Top, g.DTop);
  EXPECT_EQ(g.ScreenY(100, 0), 0);
  EXPECT_EQ(g.DepthAt(0, 0), g.Top);

  g.Build({}, QSize(632, 422));  // no layer: no outline, the extents as they were
  EXPECT_TRUE(g.DataG.empty());
  EXPECT_FALSE(g.NoDraw);

  TPileProfile thin = OneLayer(1);
  thin.OD = 0;
  g.Build(thin, QSize(632, 422));
  EXPECT_FALSE(g.NoDraw);
  EXPECT_EQ(g.ScreenX(0, 632), 0);

  TPileProfile broken = OneLayer(1);
  broken.Layers[0].Bottom = std::numeric_limits<double>::infinity();
  g.Build(broken, QSize(632, 422));
  EXPECT_TRUE(g.NoDraw);
}

TEST(SideViewDrawing, LayerLabelsNameClayAndSandByType) {
  const struct {
    int Type;
    const char* Label;
  } cases[] = {{1, "depth= 0 - 12.5; Clay"}, {3, "depth= 0 - 12.5; Clay"},
               {5, "depth= 0 - 12.5; Clay"}, {2, "depth= 0 - 12.5; Sand"},
               {4, "depth= 0 - 12.5; Sand"}, {6, "depth= 0 - 12.5; Sand"}};
  for (const auto& c : cases) {
    EXPECT_EQ(LayerLabel(0, 12.5, c.Type).toStdString(), c.Label);
    EXPECT_EQ(LayerHatchColor(c.Type).rgb() & 0xFFFFFF, IsSandLayer(c.Type) ? kSilver : kOlive);
  }
}

TEST(SideView, WithoutLayersDrawsOnlyTheBackground) {
  TShownView shown({480, 0, 24, 1, {}});
  const QImage image = shown.Grab();
  const QRect drawing(0, 0, image.width() / 2, image.height());
  EXPECT_EQ(Count(image, drawing, testing::kWhite), drawing.width() * drawing.height());
}

TEST(SideView, ClayIsHatchedInOliveUnlessHatchesAreOmittedAndThePileIsSolid) {
  TShownView shown(OneLayer(5));
  const TSideViewGeometry& g = shown.View->Geometry();
  const QImage hatched = shown.Grab();
  const int groundY = g.ScreenY(0, hatched.height());
  const int tipY = g.ScreenY(456, hatched.height());
  const QRect band(0, groundY + 40, 100, 100);  // left of the pile and the labels' rows
  EXPECT_GT(Count(hatched, band, kOlive), 500);
  EXPECT_EQ(Count(hatched, band, kSilver), 0);
  const int pileX = g.ScreenX(0, hatched.width());
  EXPECT_EQ(PixelAt(hatched, {pileX, (groundY + tipY) / 2}), testing::kBlack);
  EXPECT_NE(PixelAt(hatched, {pileX, tipY + 20}), testing::kBlack);

  shown.View->OmitHatchCheckBox->setChecked(true);
  const QImage plain = shown.Grab();
  EXPECT_EQ(Count(plain, band, kOlive), 0);
  EXPECT_EQ(Count(plain, band, testing::kWhite), band.width() * band.height());
  EXPECT_EQ(PixelAt(plain, {pileX, (groundY + tipY) / 2}), testing::kBlack);
}

TEST(SideView, WideningTheWindowKeepsTheDepthsOnScreen) {
  TShownView shown(OneLayer(2));
  const int groundBefore = shown.View->Geometry().ScreenY(0, shown.View->height());
  shown.View->resize(shown.View->width() * 2, shown.View->height());
  QApplication::processEvents();
  const QImage image = shown.Grab();
  const int groundAfter = shown.View->Geometry().ScreenY(0, image.height());
  EXPECT_EQ(groundAfter, groundBefore);
  EXPECT_GT(Count(image, QRect(0, groundAfter + 40, 100, 100), kSilver), 300);
}

TEST(SideView, TheCaptionReadsTheDepthUnderTheMouse) {
  TShownView shown(OneLayer(1));
  const TSideViewGeometry& g = shown.View->Geometry();
  for (int y : {0, shown.View->height() / 2}) {
    QMouseEvent move(QEvent::MouseMove, QPointF(10, y), QPointF(10, y), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(shown.View, &move);
    const double depth = double(g.DepthAt(y, shown.View->height()));
    EXPECT_EQ(shown.View->windowTitle(), QStringLiteral("  Depth: %1").arg(depth, 0, 'f', 1));
  }
  QMouseEvent top(QEvent::MouseMove, QPointF(10, 0), QPointF(10, 0), Qt::NoButton, Qt::NoButton,
                  Qt::NoModifier);
  QApplication::sendEvent(shown.View, &top);
  EXPECT_EQ(shown.View->windowTitle(), "  Depth: -25.2");  // Top: 1.05 × the head at -24
}

TEST(SideView, PrintsALandscapePageTitledSoilPileProfile) {
  TShownView shown(OneLayer(6));
  QTemporaryDir dir;
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(dir.filePath("profile.pdf"));
  shown.View->PrintTo(printer);
  EXPECT_EQ(printer.docName(), "Soil-Pile Profile");
  EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Landscape);
  EXPECT_GT(QFile(dir.filePath("profile.pdf")).size(), 500);
}

TEST(SideViewDrawing, ThePageScalesDepthsToTheLastLayerAndDrawsThePileFromItsHead) {
  QImage page(1100, 850, QImage::Format_RGB32);
  page.fill(Qt::lightGray);
  TPileProfile profile = {300, 0, 12, 1, {{1, 200}, {2, 600}}};
  QPainter painter(&page);
  DrawSideViewPage(painter, page.size(), profile, QFont("Liberation Sans", 8), {});
  painter.end();
  // The drawing area from 10 % to 90 %, the paper outside it untouched.
  EXPECT_EQ(PixelAt(page, {50, 50}), QColor(Qt::lightGray).rgb() & 0xFFFFFF);
  EXPECT_EQ(PixelAt(page, {200, 300}), testing::kWhite);
  // Depth 200 of 600 at y = 200 / 600 × 0.8 × 850 + 85, drawn 12 pixels wide.
  EXPECT_EQ(PixelAt(page, {900, 312}), testing::kBlack);
  // The pile: 300 / 600 × 680 = 340 pixels down from the ground at 85,
  // 18 / 600 × 680 = 20 pixels wide about the centre.
  EXPECT_EQ(PixelAt(page, {550, 300}), testing::kBlack);
  EXPECT_EQ(PixelAt(page, {540, 420}), testing::kBlack);
  EXPECT_EQ(PixelAt(page, {550, 440}), testing::kWhite);
  EXPECT_EQ(PixelAt(page, {575, 300}), testing::kWhite);
}

}  // namespace
}  // namespace korvan
