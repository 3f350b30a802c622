// Graphs filled by the tests, views laid out on images, and images drawn.
#pragma once

#include <QImage>
#include <QSize>
#include <functional>
#include <memory>

#include "PlotView.h"
#include "PltData.h"

namespace korvan::testing {

using TPointRule = std::function<TFloatPoint(int line, int point)>;

// A graph of `lines` lines of `points` points each, placed by `rule`.
std::unique_ptr<TGraphPlot> MakeGraph(int lines, int points, const TPointRule& rule);

// A view of `graph` fitted to its full range and laid out as a window or
// picture of `size` pixels at `pixelsPerInch`.
TPlotView LaidOutView(TGraphPlot& graph, QSize size, int pixelsPerInch = 96);

// A white image of the view's bounds, at its resolution, with the graph
// drawn on it.
QImage Render(TPlotView& view);

// Colour of a pixel without alpha.
inline QRgb PixelAt(const QImage& image, QPoint p) {
  return image.pixel(p) & 0xFFFFFF;
}
inline constexpr QRgb kBlack = 0x000000;
inline constexpr QRgb kWhite = 0xFFFFFF;

}  // namespace korvan::testing
