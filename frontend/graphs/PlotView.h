// How a graph is laid out and drawn on one surface: the data range shown,
// the plotting area and the layer strip in pixels, the scales and ticks, and
// the drawing itself. The graph window keeps one for the screen; printing
// and pictures lay out a copy for their own surface, so that one drawing
// routine serves every device at that device's resolution.
#pragma once

#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QRectF>
#include <QSize>
#include <QString>
#include <optional>
#include <vector>

#include "graphs/LegendLayout.h"
#include "model/GraphPlot.h"

class QPainter;

namespace korvan {

// A pixel rectangle as the layout rules measure it: Right and Bottom are the
// far edges, so the width is Right - Left.
struct TPixelRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;

  int Width() const { return Right - Left; }
  int Height() const { return Bottom - Top; }
  // Edges included: the frame is drawn on all four.
  bool Contains(QPoint p) const {
    return p.x() >= Left && p.x() <= Right && p.y() >= Top && p.y() <= Bottom;
  }
  QPoint Clamp(QPoint p) const;
  QRect ToRect() const { return QRect(Left, Top, Width(), Height()); }
  // The rectangle with its far edges inside, as clipping needs it.
  QRect ToClip() const { return QRect(Left, Top, Width() + 1, Height() + 1); }
};

struct TDrawArea {
  TPixelRect Bounds;      // the whole drawing
  TPixelRect GraphArea;   // the plotting area
  TPixelRect LayersArea;  // the soil-layer strip
  QPoint PixelsPerInch{96, 96};
  bool PrintLegend = false;  // draw the legend box onto the surface
  int LegendRoom = 0;        // pixels kept at the right for a legend beside the graph
};

// One legend entry: an active line and the text the legend shows for it.
struct TLegendEntry {
  int LineIndex = 0;
  QString Text;
};

// Where the legend sits in the graph window, which places the legend box on
// pages and pictures: at the same edges of the plotting area (Area, when
// known, with the legend's Size), else in proportion to the window.
struct TLegendPlace {
  QPoint TopLeft;
  QSize Window;
  QRect Area;
  QSize Size;
};

class TPlotView {
 public:
  explicit TPlotView(TGraphPlot& graph) : fData(&graph) {}

  TGraphPlot& Data() const { return *fData; }

  TDrawArea DrawWindow;
  TFloatRect LogicBounds;
  TFloatRect MaxLogicBounds;
  TFloatPoint MarkSpacing;
  QPoint Start;
  QPoint Finish;
  std::vector<TLegendEntry> Legend;
  // None: the legend box sits in the bottom-right corner of the plotting area.
  std::optional<TLegendPlace> LegendPlace;
  // The legend box of a page or picture, placed by PlaceLegendBox.
  TLegendLayout PageLegend;

  // Fits the full range of every data point (with the origin) to round
  // numbers and shows it; false when the data has no usable scale.
  bool FitBounds();
  // The legend lists the active lines in order.
  void RebuildLegend();

  // The window font's pixel height on the current device, and h, that height
  // scaled by the font size setting.
  int WindowFontHeight() const;
  int FontHeight() const;

  // Plotting area and layer strip inside Bounds: as the window and pictures
  // show them, and as a printed page does.
  void LayoutWindow();
  void LayoutPage();
  // Places the legend box of a page or picture laid out by LayoutPage
  // (`page`) or LayoutWindow, narrowing the plotting area when the box goes
  // beside it.
  void PlaceLegendBox(bool page);

  QPoint LogicToScreen(const TFloatPoint& point) const;
  TFloatPoint ScreenToLogic(QPoint pixel) const;

  // Minor tick spacing and the first and last tick index on each axis; false
  // when the plotting area is too small for ticks (and for lines).
  bool ComputeTicks();

  // Shows the rectangle between two pixels (no change when they share an x
  // or a y), never less than 1/20 of the full range of an axis.
  bool ZoomIn(QPoint origin, QPoint release);
  // Doubles the shown range around a pixel, within the full range.
  void ZoomOut(QPoint at);

  void DrawGraph(QPainter& canvas);
  void DrawCaptions(QPainter& canvas) const;
  void DrawGrid(QPainter& canvas) const;
  void DrawLines(QPainter& canvas) const;
  void DrawMarker(QPainter& canvas, QPoint point, int index) const;
  void DrawLayers(QPainter& canvas) const;
  void DrawLegendBox(QPainter& canvas) const;

 private:
  void PlaceLayerStrip();
  int DataPenWidth() const;

  TGraphPlot* fData;
};

// Shown when a graph's data has no usable scale (a number beyond range).
QString NoScaleMessage();

// Major tick spacing for a range of `range` divided into `n` parts: 1, 2, 5
// or 10 times a power of ten.
long double MajorTickSpacing(long double range, int n);

// Cuts the segment a-b to the rectangle r (edges included); false when no
// part of it lies inside.
bool ClipSegment(QPointF& a, QPointF& b, const QRectF& r);

// Vertex offsets of marker shape (index mod 10) + 1 with radii rx, ry, in
// drawing order; the outline returns to its first vertex.
std::vector<QPoint> MarkerOutline(int index, double rx, double ry);

}  // namespace korvan
