// TResultGraphs: the result graphs the main window owns, with their fixed
// definitions, the reading of the engine's plot data file into them and the
// graph parameter file (".kv4g") that keeps the user's display choices
// between sessions. Nothing here needs a window, so the headless plot
// command builds its figures through exactly the same code.
#pragma once

#include <QString>
#include <array>
#include <memory>
#include <vector>

#include "model/GraphPlot.h"

namespace korvan {

class TProgramData;
class TWordReader;

class TResultGraphs {
 public:
  TResultGraphs();
  ~TResultGraphs();
  TResultGraphs(const TResultGraphs&) = delete;
  TResultGraphs& operator=(const TResultGraphs&) = delete;

  TGraphPlot& pltLoad() const { return *fPlots[0]; }
  TGraphPlot& pltDisp() const { return *fPlots[1]; }
  TGraphPlot& pltDispDown() const { return *fPlots[2]; }
  TGraphPlot& pltAxial() const { return *fPlots[3]; }
  TGraphPlot& pltTZcurves() const { return *fPlots[4]; }
  TGraphPlot& PltQW() const { return *fPlots[5]; }
  TGraphPlot& pltAxialLoads() const { return *fPlots[6]; }
  TGraphPlot& pltLoadLoads() const { return *fPlots[7]; }
  TGraphPlot& pltDispLoads() const { return *fPlots[8]; }

  static constexpr int kGraphCount = 9;
  // The nine graphs in the order above.
  const std::array<std::unique_ptr<TGraphPlot>, kGraphCount>& All() const { return fPlots; }

  // Fills the graphs from the plot data file of `project`'s run. False when
  // the file is missing or ends early or holds a word that is not a number;
  // the graphs then keep what was read before.
  bool ReadPlotData(const QString& plotFile, const TProgramData& project);

  // Gives a depth graph its soil-layer overlay from the project's layers.
  static void AddLayersGraphPlot(TGraphPlot& plot, const TProgramData& project);
  // Removes every line of a graph and puts its display sizes back.
  static void ResetGraphPlot(TGraphPlot& plot);

  // The graphs written to the parameter file, in file order (the down-drag
  // graph only when the project has down-drag).
  std::vector<TGraphPlot*> ParameterGraphs(const TProgramData& project) const;

  // Writes the parameter file `fileName` when a graph of the file changed
  // since the last store; the earlier file stays until the new one is
  // complete. Raises EInOutError when it cannot be written. True when
  // written.
  bool SaveGraphParams(const QString& fileName, const TProgramData& project);
  // Applies the blocks of `fileName` whose counts match their graph.
  // Blocks before a malformed one stay applied; the malformed one and those
  // after it are not, and EInOutError carries the reader's message.
  void ReadGraphParams(const QString& fileName, const TProgramData& project);

  static QString GraphPlotParamsText(const TGraphPlot& plot);
  // Reads one block; applies it only when it is complete and its counts
  // match the graph, and then returns true.
  static bool ReadGraphPlotParams(TGraphPlot& plot, TWordReader& reader);

 private:
  std::array<std::unique_ptr<TGraphPlot>, kGraphCount> fPlots;
};

// The graphs the Graphics menu offers for `project` that have points, in
// the menu's order.
std::vector<TGraphPlot*> GraphsWithResults(const TResultGraphs& graphs,
                                           const TProgramData& project);

}  // namespace korvan
