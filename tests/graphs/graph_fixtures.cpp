#include "graph_fixtures.h"

#include <QPainter>
#include <cmath>

namespace korvan::testing {

std::unique_ptr<TGraphPlot> MakeGraph(int lines, int points, const TPointRule& rule) {
  auto graph = std::make_unique<TGraphPlot>();
  graph->SetLineCount(lines);
  graph->SetCount(points);
  for (int i = 0; i < lines; ++i)
    for (int j = 0; j < points; ++j) graph->GetData(i, j) = rule(i, j);
  return graph;
}

TPlotView LaidOutView(TGraphPlot& graph, QSize size, int pixelsPerInch) {
  TPlotView view(graph);
  view.FitBounds();
  view.RebuildLegend();
  view.DrawWindow.Bounds = {0, 0, size.width(), size.height()};
  view.DrawWindow.PixelsPerInch = QPoint(pixelsPerInch, pixelsPerInch);
  view.LayoutWindow();
  return view;
}

QImage Render(TPlotView& view) {
  const TPixelRect& b = view.DrawWindow.Bounds;
  QImage image(b.Right, b.Bottom, QImage::Format_RGB32);
  const int dotsPerMeter =
      static_cast<int>(std::lround(view.DrawWindow.PixelsPerInch.x() / 0.0254));
  image.setDotsPerMeterX(dotsPerMeter);
  image.setDotsPerMeterY(dotsPerMeter);
  image.fill(Qt::gray);
  QPainter painter(&image);
  view.DrawGraph(painter);
  return image;
}

}  // namespace korvan::testing
