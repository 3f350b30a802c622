// The drawing of a graph onto any surface: captions, grid, lines with their
// markers, the soil-layer strip, the frame and the legend box of pages and
// pictures. Every measure comes from the surface's resolution.
#include <QFontMetrics>
#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "graphs/GraphStyle.h"
#include "graphs/PlotView.h"
#include "model/NumberFormat.h"

namespace korvan {

namespace {

constexpr int kTickDigits = 4;

// Writes `text` with its top-left corner at (x, top).
void TextOut(QPainter& canvas, int x, int top, const QString& text) {
  canvas.drawText(x, top + canvas.fontMetrics().ascent(), text);
}

// Writes `text` reading upwards, the glyph tops towards x, starting at y.
void TextOutUpwards(QPainter& canvas, int x, int y, const QString& text) {
  canvas.save();
  canvas.translate(x, y);
  canvas.rotate(-90);
  TextOut(canvas, 0, 0, text);
  canvas.restore();
}

QString AxisCaption(const QString& caption, const QString& units, int system) {
  if (units.isEmpty()) return caption;
  return caption + QStringLiteral(" (") + ExpandUnitCodes(units, system) + QStringLiteral(")");
}

QPen HairPen(const QColor& color = Qt::black, Qt::PenStyle style = Qt::SolidLine) {
  QPen pen(color, 1, style);
  pen.setCosmetic(true);
  return pen;
}

// Dotted grid lines keep the dots of the screen, a 96th of an inch, on every
// device: at a printer's resolution one-pixel dots would read as a line.
QPen GridPen(int pixelsPerInch) {
  QPen pen(Qt::black, std::max(1, static_cast<int>(std::lround(pixelsPerInch / 96.0))), Qt::DotLine,
           Qt::FlatCap);
  pen.setCosmetic(true);
  return pen;
}

// The left (or top) end of a label of `extent` centred on `centre`, kept
// within [low, high] so that the labels at the corners of the plotting area
// do not run into those of the other axis.
int LabelStart(int centre, int extent, int low, int high) {
  return std::clamp(centre - extent / 2, low, std::max(low, high - extent));
}

// Draws a polyline cut to the plotting area by geometry as well as by the
// clip, since some surfaces (SVG) ignore clipping.
void DrawClippedPolyline(QPainter& canvas, const std::vector<QPoint>& points,
                         const TPixelRect& area) {
  if (std::all_of(points.begin(), points.end(), [&](QPoint p) { return area.Contains(p); })) {
    canvas.drawPolyline(points.data(), static_cast<int>(points.size()));
    return;
  }
  const QRectF r(QPointF(area.Left, area.Top), QPointF(area.Right, area.Bottom));
  std::vector<QPointF> run;
  auto flush = [&] {
    if (run.size() >= 2) canvas.drawPolyline(run.data(), static_cast<int>(run.size()));
    run.clear();
  };
  for (size_t j = 1; j < points.size(); ++j) {
    QPointF a = points[j - 1];
    QPointF b = points[j];
    if (!ClipSegment(a, b, r)) {
      flush();
      continue;
    }
    if (run.empty() || run.back() != a) {
      flush();
      run.push_back(a);
    }
    run.push_back(b);
    if (b != QPointF(points[j])) flush();
  }
  flush();
}

// A marker outline drawn with `pen` around the centre of a transparent image.
QImage MarkerStamp(const std::vector<QPoint>& outline, const QPen& pen) {
  int extent = 0;
  for (const QPoint& v : outline) extent = std::max({extent, std::abs(v.x()), std::abs(v.y())});
  extent += pen.width() + 1;
  QImage stamp(2 * extent + 1, 2 * extent + 1, QImage::Format_ARGB32_Premultiplied);
  stamp.fill(Qt::transparent);
  QPainter painter(&stamp);
  painter.setPen(pen);
  painter.translate(extent, extent);
  std::vector<QLine> sides;
  for (size_t v = 1; v < outline.size(); ++v) sides.emplace_back(outline[v - 1], outline[v]);
  painter.drawLines(sides.data(), static_cast<int>(sides.size()));
  return stamp;
}

}  // namespace

bool ClipSegment(QPointF& a, QPointF& b, const QRectF& r) {
  const QPointF d = b - a;
  double t0 = 0;
  double t1 = 1;
  const double p[] = {-d.x(), d.x(), -d.y(), d.y()};
  const double q[] = {a.x() - r.left(), r.right() - a.x(), a.y() - r.top(), r.bottom() - a.y()};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0) {
      if (q[i] < 0) return false;
      continue;
    }
    const double t = q[i] / p[i];
    if (p[i] < 0)
      t0 = std::max(t0, t);
    else
      t1 = std::min(t1, t);
    if (t0 > t1) return false;
  }
  b = a + t1 * d;
  a = a + t0 * d;
  return true;
}

int TPlotView::DataPenWidth() const {
  return (static_cast<int>(std::lround(DrawWindow.PixelsPerInch.x() / 300.0)) + 1) *
         fData->WidthLine();
}

void TPlotView::DrawGraph(QPainter& canvas) {
  const TPixelRect& b = DrawWindow.Bounds;
  canvas.save();
  canvas.setRenderHint(QPainter::Antialiasing, false);
  canvas.fillRect(b.ToRect(), Qt::white);
  const QPoint ppi = DrawWindow.PixelsPerInch;
  if (b.Width() < ppi.x() || b.Height() < ppi.y()) {
    canvas.restore();
    return;
  }
  DrawCaptions(canvas);
  if (ComputeTicks()) {
    DrawGrid(canvas);
    DrawLines(canvas);
  }
  if (fData->ShowLayers()) DrawLayers(canvas);
  canvas.setPen(HairPen());
  canvas.setBrush(Qt::NoBrush);
  canvas.drawRect(DrawWindow.GraphArea.ToRect());
  if (DrawWindow.PrintLegend) DrawLegendBox(canvas);
  canvas.restore();
}

void TPlotView::DrawCaptions(QPainter& canvas) const {
  const int h = FontHeight();
  const TPixelRect& b = DrawWindow.Bounds;
  canvas.setFont(SerifFont(h, true));
  canvas.setPen(Qt::black);
  const QFontMetrics metrics = canvas.fontMetrics();
  const int height = metrics.height();
  const bool hasTitle = !fData->UserCaption.isEmpty();
  const int titleRoom = h / 8 + h;

  const QString x = AxisCaption(fData->XCaption(), fData->XUnits(), fData->Units());
  const int xLeft = b.Left + (b.Width() - metrics.horizontalAdvance(x)) / 2;
  if (fData->XOnTop())
    TextOut(canvas, xLeft, b.Top + (hasTitle && fData->UserCaptionOnTop ? titleRoom : 0), x);
  else
    TextOut(canvas, xLeft,
            b.Bottom - height - (hasTitle && !fData->UserCaptionOnTop ? titleRoom : 0), x);

  if (hasTitle) {
    const QString& title = fData->UserCaption;
    const int left = b.Left + (b.Width() - metrics.horizontalAdvance(title)) / 2;
    TextOut(canvas, left, fData->UserCaptionOnTop ? b.Top : b.Bottom - height, title);
  }

  const QString y = AxisCaption(fData->YCaption(), fData->YUnits(), fData->Units());
  TextOutUpwards(canvas, b.Left, b.Top + (b.Height() + metrics.horizontalAdvance(y)) / 2, y);
}

void TPlotView::DrawGrid(QPainter& canvas) const {
  const TPixelRect& area = DrawWindow.GraphArea;
  const QPoint ppi = DrawWindow.PixelsPerInch;
  const QPen tickPen = HairPen();
  const QPen gridPen = GridPen(ppi.x());
  canvas.setFont(SerifFont(FontHeight()));
  const QFontMetrics metrics = canvas.fontMetrics();
  const int height = metrics.height();
  const bool onTop = fData->XOnTop();

  if (Finish.x() != Start.x()) {
    for (int k = Start.x(); k <= Finish.x(); ++k) {
      const long double value = k * MarkSpacing.x;
      const int px = LogicToScreen(TFloatPoint(value, LogicBounds.Top)).x();
      if (px < area.Left || px > area.Right) continue;
      canvas.setPen(tickPen);
      if (onTop)
        canvas.drawLine(px, area.Top, px, area.Top + ppi.y() / 16);
      else
        canvas.drawLine(px, area.Bottom, px, area.Bottom - ppi.y() / 16);
      if (k % 5 != 0) continue;
      canvas.setPen(gridPen);
      canvas.drawLine(px, area.Top, px, area.Bottom);
      const QString label = FormatGeneral(value, kTickDigits);
      const int left = LabelStart(px, metrics.horizontalAdvance(label), area.Left, area.Right);
      canvas.setPen(tickPen);
      TextOut(canvas, left, onTop ? area.Top - height - ppi.y() / 32 : area.Bottom + ppi.y() / 16,
              label);
    }
  }

  if (Finish.y() != Start.y()) {
    for (int k = Start.y(); k <= Finish.y(); ++k) {
      const long double value = k * MarkSpacing.y;
      const int py = LogicToScreen(TFloatPoint(LogicBounds.Left, value)).y();
      if (py < area.Top || py > area.Bottom) continue;
      canvas.setPen(tickPen);
      canvas.drawLine(area.Left, py, area.Left + ppi.x() / 16, py);
      if (k % 5 != 0) continue;
      canvas.setPen(gridPen);
      canvas.drawLine(area.Left, py, area.Right, py);
      const QString label = FormatGeneral(value, kTickDigits);
      const int extent = metrics.horizontalAdvance(label);
      canvas.setPen(tickPen);
      // Read upwards, the label starts at its lower end.
      TextOutUpwards(canvas, area.Left - height - ppi.x() / 32,
                     LabelStart(py, extent, area.Top, area.Bottom) + extent, label);
    }
  }
}

void TPlotView::DrawLines(QPainter& canvas) const {
  if (fData->LineCount() == 0 || fData->GetLines(0).Count() <= 1) return;
  const TPixelRect& area = DrawWindow.GraphArea;
  canvas.save();
  canvas.setClipRect(area.ToClip());
  const QPoint ppi = DrawWindow.PixelsPerInch;
  QPen pen(Qt::black, DataPenWidth(), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
  const int every = fData->Markers();
  // Markers of points beyond the area's edge by more than their size are
  // skipped: nothing of them would show.
  const int reach = std::max(ppi.x(), ppi.y()) / 32 + 1;
  const TPixelRect markerArea{area.Left - reach, area.Top - reach, area.Right + reach,
                              area.Bottom + reach};
  // Stamps only where an image pixel is a device pixel: bitmaps drawn
  // without scaling (not on high-density screens, pages or drawings).
  const bool stamped =
      canvas.paintEngine()->type() == QPaintEngine::Raster && canvas.deviceTransform().isIdentity();
  std::vector<QPoint> points;
  std::vector<QLine> markers;
  int k = 0;
  for (int i = 0; i < fData->LineCount(); ++i) {
    const TLine& line = fData->GetLines(i);
    if (!line.Active()) continue;
    const int position = k++;
    if (!line.Visible() || line.Count() == 0) continue;
    pen.setColor(LineColor(position));
    canvas.setPen(pen);
    points.resize(static_cast<size_t>(line.Count()));
    for (int j = 0; j < line.Count(); ++j)
      points[static_cast<size_t>(j)] = LogicToScreen(line.Point(j));
    DrawClippedPolyline(canvas, points, area);
    if (every <= 0) continue;
    const std::vector<QPoint> outline = MarkerOutline(position, ppi.x() / 32.0, ppi.y() / 32.0);
    if (stamped) {
      // The same pixels at every point: stamped from one drawing of the
      // outline, a fraction of the cost of thousands of tiny outlines.
      const QImage stamp = MarkerStamp(outline, pen);
      const QPoint centre(stamp.width() / 2, stamp.height() / 2);
      for (size_t j = 0; j < points.size(); j += static_cast<size_t>(every))
        if (markerArea.Contains(points[j])) canvas.drawImage(points[j] - centre, stamp);
      continue;
    }
    // Every marker of the line in one call, the outlines as segments.
    markers.clear();
    for (size_t j = 0; j < points.size(); j += static_cast<size_t>(every))
      if (markerArea.Contains(points[j]))
        for (size_t v = 1; v < outline.size(); ++v)
          markers.emplace_back(points[j] + outline[v - 1], points[j] + outline[v]);
    canvas.drawLines(markers.data(), static_cast<int>(markers.size()));
  }
  canvas.restore();
}

void TPlotView::DrawMarker(QPainter& canvas, QPoint point, int index) const {
  const QPoint ppi = DrawWindow.PixelsPerInch;
  std::vector<QPoint> outline = MarkerOutline(index, ppi.x() / 32.0, ppi.y() / 32.0);
  for (QPoint& vertex : outline) vertex += point;
  canvas.drawPolyline(outline.data(), static_cast<int>(outline.size()));
}

void TPlotView::DrawLayers(QPainter& canvas) const {
  if (fData->LayerLineCount() == 0 || fData->LayerCount() == 0) return;
  const TPixelRect& strip = DrawWindow.LayersArea;
  const int ppi = DrawWindow.PixelsPerInch.y();
  canvas.save();
  canvas.setClipRect(strip.ToClip());
  canvas.setFont(SerifFont(WindowFontHeight()));
  canvas.setBackground(Qt::white);
  int top = LogicToScreen(TFloatPoint(0, fData->LayersTop)).y();
  for (int i = 0; i < fData->LayerLineCount(); ++i) {
    const TLine& layer = fData->GetLayerLines(i);
    if (layer.Count() == 0) continue;
    const int bottom = LogicToScreen(TFloatPoint(0, layer.Point(0).y)).y();
    // Cut to the strip by geometry too, for surfaces that ignore clipping.
    const QRect box = QRect(QPoint(strip.Left, top), QPoint(strip.Right, bottom))
                          .normalized()
                          .intersected(strip.ToClip());
    if (!box.isEmpty()) {
      canvas.setPen(HairPen());
      canvas.setBrush(LayerBrush(layer.Point(0).x, ppi));
      canvas.drawRect(box.adjusted(0, 0, -1, -1));
      canvas.setBackgroundMode(Qt::OpaqueMode);
      canvas.drawText(box, Qt::AlignCenter, layer.LineName());
      canvas.setBackgroundMode(Qt::TransparentMode);
    }
    top = bottom;
  }
  canvas.restore();
}

void TPlotView::DrawLegendBox(QPainter& canvas) const {
  const TLegendLayout& legend = PageLegend;
  if (!legend.Shown()) return;
  canvas.setFont(SerifFont(legend.FontPixels));
  canvas.setPen(HairPen());
  canvas.setBrush(Qt::white);
  canvas.drawRect(legend.Box.adjusted(0, 0, -1, -1));  // the outline within the box

  const QPoint ppi = DrawWindow.PixelsPerInch;
  const int gap = ppi.y() / 32;
  QPen markerPen(Qt::black, DataPenWidth(), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
  for (size_t place = 0; place < legend.Positions.size(); ++place) {
    // Colour and marker follow the entry's position among the active lines.
    const int position = legend.Positions[place];
    const QPoint cell = legend.EntryTopLeft(static_cast<int>(place), gap);
    const QColor color = LineColor(position);
    markerPen.setColor(color);
    canvas.setPen(markerPen);
    DrawMarker(canvas, QPoint(cell.x() + ppi.x() / 16, cell.y() + legend.TextHeight / 2), position);
    canvas.setPen(color);
    TextOut(canvas, cell.x() + ppi.x() / 8, cell.y(), legend.Texts[place]);
  }
  canvas.setPen(Qt::black);
}

}  // namespace korvan
