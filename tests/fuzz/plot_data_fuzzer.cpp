// Arbitrary bytes as the engine's plot data file read into the result
// graphs. Byte 0 sets the project's switches that the reader follows (see
// ProjectFor); the rest is the file. Reading ends with the graphs filled or
// refused, never a crash, a hang or a huge allocation; the same graphs are
// read into again and again, as the main window does after every run.
#include <cstddef>
#include <cstdint>

#include "qt_fuzz_support.h"
#include "result_graphs_fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  korvan::fuzz::EnsureApplication();
  const korvan::TProgramData& project = korvan::fuzz::ProjectFor(data[0]);
  const QString path =
      korvan::fuzz::WriteScratchFile(QStringLiteral("pile.kv4p"), data + 1, size - 1);
  korvan::TResultGraphs& graphs = korvan::fuzz::Graphs();
  if (!graphs.ReadPlotData(path, project)) return 0;
  // What was read is complete: every line of a distribution has its points.
  for (korvan::TGraphPlot* plot : {&graphs.pltLoad(), &graphs.pltDisp()}) {
    for (int k = 0; k < plot->LineCount(); ++k) {
      korvan::fuzz::Require(plot->GetLines(k).Count() == plot->Count(),
                            "every line of a distribution has the graph's point count");
    }
  }
  return 0;
}
