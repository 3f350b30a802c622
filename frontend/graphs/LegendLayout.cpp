#include "graphs/LegendLayout.h"

#include <QFontMetrics>
#include <QImage>
#include <algorithm>
#include <cmath>
#include <optional>

#include "graphs/GraphStyle.h"
#include "graphs/PlotView.h"

namespace korvan {

namespace {

constexpr double kMetresPerInch = 0.0254;
// Over the plotting area the font may shrink to this share of the graph's
// before the legend moves beside the area.
constexpr int kOverAreaFontShare = 75;  // per cent
// The most columns tried over the plotting area: more make a wide band.
constexpr int kMaxColumnsOverArea = 3;
// A legend beside the plotting area takes at most this share of the width.
constexpr int kMaxBesideShare = 40;  // per cent
// A screen legend this close to an edge of the plotting area keeps to it.
constexpr int kEdgeSnap = 4;

// Metrics of a font on a surface of the view's resolution.
QFontMetrics MetricsAt(int fontPixels, QPoint pixelsPerInch) {
  QImage probe(1, 1, QImage::Format_RGB32);
  probe.setDotsPerMeterX(static_cast<int>(std::lround(pixelsPerInch.x() / kMetresPerInch)));
  probe.setDotsPerMeterY(static_cast<int>(std::lround(pixelsPerInch.y() / kMetresPerInch)));
  return QFontMetrics(SerifFont(fontPixels), &probe);
}

QRect AreaRect(const TPixelRect& r) {
  return QRect(QPoint(r.Left, r.Top), QPoint(r.Right, r.Bottom));
}

// Sizes the legend for a font and a column count.
class TLegendSizer {
 public:
  TLegendSizer(const TPlotView& view, std::vector<int> positions)
      : fPpi(view.DrawWindow.PixelsPerInch), fPositions(std::move(positions)) {
    for (int position : fPositions)
      fTexts.push_back(view.Legend[static_cast<size_t>(position)].Text);
  }

  int Gap() const { return fPpi.y() / 32; }
  // Room of marker and margins beside the text of one column.
  int Indent() const { return fPpi.x() * 3 / 16; }

  TLegendLayout Measure(int fontPixels, int columns) const {
    const QFontMetrics metrics = MetricsAt(fontPixels, fPpi);
    int widest = 0;
    for (const QString& text : fTexts) widest = std::max(widest, metrics.horizontalAdvance(text));
    TLegendLayout layout;
    layout.FontPixels = fontPixels;
    layout.TextHeight = metrics.height();
    layout.Columns = columns;
    layout.Rows = (Count() + columns - 1) / columns;
    layout.ColumnWidth = widest + Indent();
    layout.Positions = fPositions;
    layout.Texts = fTexts;
    layout.Box = QRect(0, 0, columns * layout.ColumnWidth,
                       layout.Rows * (layout.TextHeight + Gap()) + Gap());
    return layout;
  }

  // The layout with texts cut to fit columns of `columnWidth`.
  void Shorten(TLegendLayout& layout, int columnWidth) const {
    const QFontMetrics metrics = MetricsAt(layout.FontPixels, fPpi);
    layout.ColumnWidth = std::max(columnWidth, Indent());
    for (QString& text : layout.Texts)
      text = metrics.elidedText(text, Qt::ElideRight, layout.ColumnWidth - Indent());
    layout.Box.setWidth(layout.Columns * layout.ColumnWidth);
  }

  int Count() const { return static_cast<int>(fPositions.size()); }

 private:
  QPoint fPpi;
  std::vector<int> fPositions;
  std::vector<QString> fTexts;
};

// Where the legend of the graph window asks to be: at the same edges of the
// plotting area as on screen, or in proportion where it sits away from them.
std::optional<QPoint> AskedCorner(const TPlotView& view, QSize size) {
  if (!view.LegendPlace) return std::nullopt;
  const TLegendPlace& place = *view.LegendPlace;
  const QRect area = AreaRect(view.DrawWindow.GraphArea);
  if (place.Window.width() <= 0 || place.Window.height() <= 0) return std::nullopt;
  QPoint corner(area.left() + static_cast<int>(static_cast<qint64>(area.width()) *
                                               place.TopLeft.x() / place.Window.width()),
                area.top() + static_cast<int>(static_cast<qint64>(area.height()) *
                                              place.TopLeft.y() / place.Window.height()));
  if (place.Area.isValid() && place.Size.isValid()) {
    const QRect onScreen(place.TopLeft, place.Size);
    if (onScreen.right() >= place.Area.right() - kEdgeSnap)
      corner.setX(area.right() - size.width());
    else if (onScreen.left() <= place.Area.left() + kEdgeSnap)
      corner.setX(area.left());
    if (onScreen.bottom() >= place.Area.bottom() - kEdgeSnap)
      corner.setY(area.bottom() - size.height());
    else if (onScreen.top() <= place.Area.top() + kEdgeSnap)
      corner.setY(area.top());
  }
  return corner;
}

// Top-left corners tried over the plotting area, the asked one first.
std::vector<QPoint> Corners(const TPlotView& view, QSize size) {
  const QRect area = AreaRect(view.DrawWindow.GraphArea);
  const int left = area.left();
  const int right = area.right() - size.width();
  const int top = area.top();
  const int bottom = area.bottom() - size.height();
  const int middleX = (left + right) / 2;
  const int middleY = (top + bottom) / 2;
  std::vector<QPoint> corners;
  if (const auto asked = AskedCorner(view, size))
    corners.emplace_back(std::clamp(asked->x(), left, std::max(left, right)),
                         std::clamp(asked->y(), top, std::max(top, bottom)));
  for (QPoint p : {QPoint(right, bottom), QPoint(right, top), QPoint(left, bottom),
                   QPoint(left, top), QPoint(right, middleY), QPoint(left, middleY),
                   QPoint(middleX, top), QPoint(middleX, bottom)})
    corners.push_back(p);
  return corners;
}

bool FitsIn(QSize size, const QRect& room) {
  return size.width() <= room.width() && size.height() <= room.height();
}

// The legend over the plotting area at the first corner where it covers no
// data; nothing when it does not fit or covers data everywhere.
std::optional<TLegendLayout> OverArea(const TPlotView& view, TLegendLayout layout) {
  if (!FitsIn(layout.Box.size(), AreaRect(view.DrawWindow.GraphArea))) return std::nullopt;
  for (QPoint corner : Corners(view, layout.Box.size())) {
    layout.Box.moveTopLeft(corner);
    if (CoveredSegments(view, layout.Box) == 0) return layout;
  }
  return std::nullopt;
}

}  // namespace

QPoint TLegendLayout::EntryTopLeft(int place, int gap) const {
  const int rows = std::max(Rows, 1);
  return QPoint(Box.left() + place / rows * ColumnWidth,
                Box.top() + gap + place % rows * (TextHeight + gap));
}

int CoveredSegments(const TPlotView& view, const QRect& box) {
  const TGraphPlot& data = view.Data();
  if (data.LineCount() == 0 || data.GetLines(0).Count() <= 1) return 0;
  const TPixelRect& area = view.DrawWindow.GraphArea;
  const QRectF plotting(QPointF(area.Left, area.Top), QPointF(area.Right, area.Bottom));
  const QPoint ppi = view.DrawWindow.PixelsPerInch;
  // Lines are drawn with markers of 1/32 inch around their points.
  const double reach = std::max(ppi.x(), ppi.y()) / 32.0 + 1;
  const QRectF grown = QRectF(box).adjusted(-reach, -reach, reach, reach).intersected(plotting);
  if (grown.isEmpty()) return 0;
  int covered = 0;
  for (int i = 0; i < data.LineCount(); ++i) {
    const TLine& line = data.GetLines(i);
    if (!line.Active() || !line.Visible()) continue;
    QPointF previous = view.LogicToScreen(line.Point(0));
    if (line.Count() == 1 && grown.contains(previous)) ++covered;
    for (int j = 1; j < line.Count(); ++j) {
      const QPointF next = view.LogicToScreen(line.Point(j));
      QPointF a = previous;
      QPointF b = next;
      if (ClipSegment(a, b, grown)) ++covered;
      previous = next;
    }
  }
  return covered;
}

TLegendLayout PlaceLegend(TPlotView& view, bool page) {
  std::vector<int> positions;
  const TGraphPlot& data = view.Data();
  for (size_t k = 0; k < view.Legend.size(); ++k) {
    const int line = view.Legend[k].LineIndex;
    if (line < data.LineCount() && data.GetLines(line).Visible())
      positions.push_back(static_cast<int>(k));
  }
  TLegendLayout none;
  if (positions.empty()) return none;
  const TLegendSizer sizer(view, std::move(positions));
  const QPoint ppi = view.DrawWindow.PixelsPerInch;
  const int full = std::max(view.FontHeight(), 1);
  // The smallest font still read on paper: about 5 points.
  const int smallest = std::min(full, std::max(1, ppi.y() * 7 / 96));
  const int overAreaSmallest = std::max(smallest, full * kOverAreaFontShare / 100);
  const int count = sizer.Count();

  for (int font = full; font >= overAreaSmallest; --font)
    for (int columns = 1; columns <= std::min(count, kMaxColumnsOverArea); ++columns)
      if (auto layout = OverArea(view, sizer.Measure(font, columns))) return *layout;

  // Beside the plotting area, which gives up the room.
  const TPixelRect& bounds = view.DrawWindow.Bounds;
  const int besideWidth = bounds.Width() * kMaxBesideShare / 100;
  for (int font = full; font >= smallest; --font) {
    for (int columns = 1; columns <= count; ++columns) {
      TLegendLayout layout = sizer.Measure(font, columns);
      if (layout.Box.width() > besideWidth) break;
      if (layout.Box.height() > bounds.Height()) continue;
      layout.RoomBeside = layout.Box.width() + ppi.x() / 16;
      view.DrawWindow.LegendRoom = layout.RoomBeside;
      if (page)
        view.LayoutPage();
      else
        view.LayoutWindow();
      const int top = std::min(view.DrawWindow.GraphArea.Top, bounds.Bottom - layout.Box.height());
      layout.Box.moveTopLeft(QPoint(bounds.Right - layout.Box.width(), std::max(top, bounds.Top)));
      return layout;
    }
  }

  // No room anywhere: the smallest font, as many columns as the plotting
  // area's height needs, texts cut to its width, where it covers least.
  const QRect area = AreaRect(view.DrawWindow.GraphArea);
  int columns = 1;
  TLegendLayout layout = sizer.Measure(smallest, columns);
  while (layout.Box.height() > area.height() && columns < count)
    layout = sizer.Measure(smallest, ++columns);
  if (layout.Box.width() > area.width()) sizer.Shorten(layout, area.width() / columns);
  layout.Box.setHeight(std::min(layout.Box.height(), bounds.Height()));
  int least = -1;
  QPoint best;
  for (QPoint corner : Corners(view, layout.Box.size())) {
    layout.Box.moveTopLeft(corner);
    const int covered = CoveredSegments(view, layout.Box);
    if (least < 0 || covered < least) {
      least = covered;
      best = corner;
    }
  }
  layout.Box.moveTopLeft(best);
  // Whatever the plotting area, the box stays on the drawing.
  const QRect drawing = AreaRect(bounds);
  layout.Box.moveLeft(std::clamp(layout.Box.left(), drawing.left(),
                                 std::max(drawing.left(), drawing.right() - layout.Box.width())));
  layout.Box.moveTop(std::clamp(layout.Box.top(), drawing.top(),
                                std::max(drawing.top(), drawing.bottom() - layout.Box.height())));
  return layout;
}

}  // namespace korvan
