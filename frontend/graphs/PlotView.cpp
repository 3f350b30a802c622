#include "graphs/PlotView.h"

#include <algorithm>
#include <cmath>

namespace korvan {

namespace {

// The window font: 14 pixels on a 96-pixel-per-inch screen, scaled to each
// device so that pages and pictures keep the proportions of the window.
constexpr long double kWindowFontPixels = 14;
constexpr long double kScreenPixelsPerInch = 96;

// A shown range narrower than this share of the full range is widened.
constexpr long double kMaxZoom = 20;

// Share of a unit by which a range end may miss a multiple of it and still
// count as one.
constexpr long double kFitTolerance = 1e-9L;

// Pixels beyond any surface; keeps far-off points within integer range.
constexpr long double kPixelLimit = 1 << 24;

// Tick values within this share of a tick spacing of the shown range's ends
// count as inside it, so that a tick on an end is not lost to rounding.
constexpr long double kTickTolerance = 1e-9L;

int RoundPixel(long double value) {
  if (std::isnan(value)) return 0;
  return static_cast<int>(std::llrint(std::clamp(value, -kPixelLimit, kPixelLimit)));
}

// Rounds [low, high] outwards to multiples of a unit a tenth of the range's
// leading power of ten, or the power itself when the range starts with a
// digit 3 or above; false when the range has no such unit.
bool FitAxis(long double& low, long double& high) {
  if (low == high) {
    low -= 0.01L;
    high += 0.01L;
  }
  const long double range = high - low;
  const long double decades = std::log10(range);
  if (!std::isfinite(decades)) return false;
  long double unit = std::pow(10.0L, std::floor(decades));
  if (decades - std::floor(decades) < std::log10(3.0L)) unit /= 10;
  if (unit == 0 || !std::isfinite(unit)) return false;
  // An end that is a multiple of the unit stays, whatever the rounding of
  // the division says.
  low = std::floor(low / unit + kFitTolerance) * unit;
  high = std::ceil(high / unit - kFitTolerance) * unit;
  return std::isfinite(low) && std::isfinite(high) && low < high;
}

// Lowest and highest k with k * spacing inside [low, high].
bool TickRange(long double low, long double high, long double spacing, int& first, int& last) {
  const long double a = std::ceil(low / spacing - kTickTolerance);
  const long double b = std::floor(high / spacing + kTickTolerance);
  if (!std::isfinite(a) || !std::isfinite(b) || std::fabs(a) > 1e9L || std::fabs(b) > 1e9L)
    return false;
  first = static_cast<int>(a);
  last = static_cast<int>(b);
  return true;
}

// One axis of a zoom: [low, high] no narrower than the full range over 20,
// and then kept inside the full range.
void LimitZoom(long double& low, long double& high, long double fullLow, long double fullHigh) {
  const long double full = fullHigh - fullLow;
  if (full <= kMaxZoom * (high - low)) return;
  const long double centre = (low + high) / 2;
  const long double half = full / (2 * kMaxZoom);
  low = centre - half;
  high = centre + half;
  if (low < fullLow) {
    low = fullLow;
    high = fullLow + 2 * half;
  } else if (high > fullHigh) {
    high = fullHigh;
    low = fullHigh - 2 * half;
  }
}

// One axis of a zoom out around `at`.
void WidenAround(long double at, long double& low, long double& high, long double fullLow,
                 long double fullHigh) {
  const long double full = fullHigh - fullLow;
  const long double half = high - low;
  if (2 * half >= full) {
    low = fullLow;
    high = fullHigh;
    return;
  }
  if (at - half < fullLow) {
    low = fullLow;
    high = fullLow + 2 * half;
  } else if (at + half > fullHigh) {
    high = fullHigh;
    low = fullHigh - 2 * half;
  } else {
    low = at - half;
    high = at + half;
  }
}

}  // namespace

QString NoScaleMessage() {
  return QStringLiteral("The graph cannot be drawn: its data holds a number too large to show.");
}

QPoint TPixelRect::Clamp(QPoint p) const {
  return QPoint(std::clamp(p.x(), Left, std::max(Left, Right)),
                std::clamp(p.y(), Top, std::max(Top, Bottom)));
}

bool TPlotView::FitBounds() {
  TFloatRect range;  // starts at the origin
  for (int i = 0; i < fData->LineCount(); ++i) {
    const TLine& line = fData->GetLines(i);
    for (int j = 0; j < line.Count(); ++j) {
      const TFloatPoint& p = line.Point(j);
      range.Left = std::min(range.Left, p.x);
      range.Right = std::max(range.Right, p.x);
      range.Top = std::min(range.Top, p.y);
      range.Bottom = std::max(range.Bottom, p.y);
    }
  }
  if (!FitAxis(range.Left, range.Right) || !FitAxis(range.Top, range.Bottom)) return false;
  LogicBounds = range;
  MaxLogicBounds = range;
  return true;
}

void TPlotView::RebuildLegend() {
  Legend.clear();
  for (int i = 0; i < fData->LineCount(); ++i)
    if (fData->GetLines(i).Active()) Legend.push_back({i, fData->LegendCaption(i)});
}

int TPlotView::WindowFontHeight() const {
  return static_cast<int>(
      std::llrint(kWindowFontPixels * DrawWindow.PixelsPerInch.y() / kScreenPixelsPerInch));
}

int TPlotView::FontHeight() const {
  return WindowFontHeight() * fData->SizeFont() / 10;
}

void TPlotView::LayoutWindow() {
  const int h = FontHeight();
  const QPoint ppi = DrawWindow.PixelsPerInch;
  const TPixelRect& b = DrawWindow.Bounds;
  TPixelRect& area = DrawWindow.GraphArea;
  area.Left = b.Left + 2 * h + ppi.x() / 8 + h / 8;
  area.Right = b.Right - DrawWindow.LegendRoom - ppi.x() / 4 - h / 2;
  if (fData->XOnTop()) {
    area.Top = b.Top + 2 * h + ppi.y() / 8 + h / 8;
    area.Bottom = b.Bottom - ppi.y() / 4 - h / 2;
  } else {
    area.Top = b.Top + h / 2 + ppi.y() / 4;
    area.Bottom = b.Bottom - 2 * h - ppi.y() / 8 - h / 8;
  }
  if (!fData->UserCaption.isEmpty()) {
    if (fData->UserCaptionOnTop)
      area.Top += h / 8 + h;
    else
      area.Bottom -= h;
  }
  PlaceLayerStrip();
}

void TPlotView::LayoutPage() {
  const int h = FontHeight();
  const QPoint ppi = DrawWindow.PixelsPerInch;
  const TPixelRect& b = DrawWindow.Bounds;
  TPixelRect& area = DrawWindow.GraphArea;
  area.Left = b.Left + 2 * h + ppi.x() / 8 + h / 8;
  area.Right = b.Right - DrawWindow.LegendRoom;
  if (fData->XOnTop()) {
    area.Top = b.Top + 2 * h + ppi.y() / 8 + h / 8;
    area.Bottom = b.Bottom;
  } else {
    area.Top = b.Top;
    area.Bottom = b.Bottom - 2 * h - ppi.y() / 8 - h / 8;
  }
  if (!fData->UserCaption.isEmpty()) {
    if (fData->UserCaptionOnTop)
      area.Top += ppi.y() / 4;
    else
      area.Bottom -= ppi.y() / 2;
  }
  PlaceLayerStrip();
}

void TPlotView::PlaceLegendBox(bool page) {
  DrawWindow.LegendRoom = 0;
  if (page)
    LayoutPage();
  else
    LayoutWindow();
  PageLegend = PlaceLegend(*this, page);
}

void TPlotView::PlaceLayerStrip() {
  TPixelRect& area = DrawWindow.GraphArea;
  TPixelRect& strip = DrawWindow.LayersArea;
  if (!fData->ShowLayers()) {
    strip = TPixelRect();
    return;
  }
  const int inch = DrawWindow.PixelsPerInch.x();
  const int right = area.Right;
  area.Right -= inch;
  strip = {right - inch * 4 / 5, area.Top, right, area.Bottom};
}

QPoint TPlotView::LogicToScreen(const TFloatPoint& point) const {
  const TPixelRect& area = DrawWindow.GraphArea;
  const TFloatRect& b = LogicBounds;
  const int px = area.Left + RoundPixel((point.x - b.Left) / (b.Right - b.Left) * area.Width());
  const int d = RoundPixel((point.y - b.Top) / (b.Bottom - b.Top) * area.Height());
  return QPoint(px, fData->XOnTop() ? area.Top + d : area.Bottom - d);
}

TFloatPoint TPlotView::ScreenToLogic(QPoint pixel) const {
  const TPixelRect& area = DrawWindow.GraphArea;
  const TFloatRect& b = LogicBounds;
  const long double width = std::max(area.Width(), 1);
  const long double height = std::max(area.Height(), 1);
  const int d = fData->XOnTop() ? pixel.y() - area.Top : area.Bottom - pixel.y();
  return TFloatPoint(b.Left + (pixel.x() - area.Left) / width * (b.Right - b.Left),
                     b.Top + d / height * (b.Bottom - b.Top));
}

long double MajorTickSpacing(long double range, int n) {
  const long double s = range / n;
  const long double e = std::pow(10.0L, std::floor(std::log10(s)));
  const long double f = std::trunc(s / e);
  if (f <= 1) return e;
  if (f <= 4) return 2 * e;
  if (f <= 8) return 5 * e;
  return 10 * e;
}

bool TPlotView::ComputeTicks() {
  const int h = FontHeight();
  if (h <= 0) return false;
  const int nx = DrawWindow.GraphArea.Width() / (6 * h);
  const int ny = DrawWindow.GraphArea.Height() / (6 * h);
  if (nx <= 0 || ny <= 0) return false;
  const TFloatRect& b = LogicBounds;
  const long double xRange = b.Right - b.Left;
  const long double yRange = b.Bottom - b.Top;
  if (!(xRange > 0) || !(yRange > 0) || !std::isfinite(xRange) || !std::isfinite(yRange))
    return false;
  MarkSpacing = TFloatPoint(MajorTickSpacing(xRange, nx) / 5, MajorTickSpacing(yRange, ny) / 5);
  int x0 = 0, x1 = 0, y0 = 0, y1 = 0;
  if (!TickRange(b.Left, b.Right, MarkSpacing.x, x0, x1) ||
      !TickRange(b.Top, b.Bottom, MarkSpacing.y, y0, y1))
    return false;
  Start = QPoint(x0, y0);
  Finish = QPoint(x1, y1);
  return true;
}

bool TPlotView::ZoomIn(QPoint origin, QPoint release) {
  if (release.x() == origin.x() || release.y() == origin.y()) return false;
  const TFloatPoint a = ScreenToLogic(origin);
  const TFloatPoint b = ScreenToLogic(DrawWindow.GraphArea.Clamp(release));
  TFloatRect shown{std::min(a.x, b.x), std::max(a.x, b.x), std::min(a.y, b.y), std::max(a.y, b.y)};
  LimitZoom(shown.Left, shown.Right, MaxLogicBounds.Left, MaxLogicBounds.Right);
  LimitZoom(shown.Top, shown.Bottom, MaxLogicBounds.Top, MaxLogicBounds.Bottom);
  LogicBounds = shown;
  return true;
}

void TPlotView::ZoomOut(QPoint at) {
  const TFloatPoint p = ScreenToLogic(at);
  WidenAround(p.x, LogicBounds.Left, LogicBounds.Right, MaxLogicBounds.Left, MaxLogicBounds.Right);
  WidenAround(p.y, LogicBounds.Top, LogicBounds.Bottom, MaxLogicBounds.Top, MaxLogicBounds.Bottom);
}

std::vector<QPoint> MarkerOutline(int index, double rx, double ry) {
  const int shape = (index % 10 + 10) % 10 + 1;
  double first = 0;
  double step = 0;
  int corners = 0;
  switch (shape) {
    case 1:  // a triangle pointing down
      first = M_PI;
      step = 2 * M_PI / 3;
      corners = 3;
      break;
    case 2:  // a square standing on its side
      first = M_PI / 4;
      step = M_PI / 2;
      corners = 4;
      break;
    default:  // a regular polygon with a corner straight up
      step = 2 * M_PI / shape;
      corners = shape;
      break;
  }
  std::vector<QPoint> outline;
  outline.reserve(static_cast<size_t>(corners) + 1);
  for (int n = 0; n <= corners; ++n) {
    const double theta = first + n * step;
    outline.emplace_back(static_cast<int>(std::lrint(rx * std::sin(theta))),
                         static_cast<int>(std::lrint(-ry * std::cos(theta))));
  }
  return outline;
}

}  // namespace korvan
