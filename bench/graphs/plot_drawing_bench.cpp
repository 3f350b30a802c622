// One full repaint of a large graph: 100 load-distribution lines of 501
// points with a marker on every point and the soil-layer strip, into a
// 1920 x 1080 picture at screen resolution. A repaint within a frame
// (16 ms) keeps zooming smooth.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cmath>

#include "graphs/PlotView.h"
#include "model/GraphPlot.h"

namespace korvan {
namespace {

constexpr int kLines = 100;
constexpr int kPoints = 501;
constexpr int kLayers = 8;

void FillGraph(TGraphPlot& graph) {
  graph.SetXCaption(QStringLiteral("Total Capacity "));
  graph.SetXUnits(QStringLiteral("F1"));
  graph.SetYCaption(QStringLiteral("Depth "));
  graph.SetYUnits(QStringLiteral("L2"));
  graph.SetLineCount(kLines);
  graph.SetCount(kPoints);
  for (int i = 0; i < kLines; ++i) {
    const double head = 20.0 * (i + 1);
    for (int j = 0; j < kPoints; ++j) {
      const double depth = j * 0.2;
      const double share = 1 - depth / 100.0;
      graph.GetData(i, j) = TFloatPoint(head * share * share, depth);
    }
  }
  graph.SetLayerLineCount(kLayers);
  graph.SetLayerCount(1);
  for (int k = 0; k < kLayers; ++k) {
    graph.GetLayerData(k, 0) = TFloatPoint(k % 2 == 0 ? 1 : 7, 100.0 * (k + 1) / kLayers);
    graph.GetLayerLines(k).SetLineName(k % 2 == 0 ? QStringLiteral(" CLAY ")
                                                  : QStringLiteral(" SAND "));
  }
  graph.SetShowLayers(true);
  graph.SetMarkers(1);
}

void BM_DrawGraph(benchmark::State& state) {
  TGraphPlot graph;
  FillGraph(graph);
  TPlotView view(graph);
  view.FitBounds();
  view.RebuildLegend();
  view.DrawWindow.Bounds = {0, 0, 1920, 1080};
  view.DrawWindow.PixelsPerInch = QPoint(96, 96);
  view.LayoutWindow();
  QImage image(1920, 1080, QImage::Format_RGB32);
  for (auto _ : state) {
    QPainter painter(&image);
    view.DrawGraph(painter);
    painter.end();
    benchmark::DoNotOptimize(image.constBits());
  }
  state.SetItemsProcessed(state.iterations() * kLines * kPoints);
}
BENCHMARK(BM_DrawGraph)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace korvan

int main(int argc, char** argv) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
