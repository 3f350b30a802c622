// The graphs of a design study, in the program's graph model so that they
// are drawn, shown, printed, saved and exported like every other graph:
//   the load-settlement curves of the variants, one line per completed
//     variant named by its value, drawn as "Axial Load vs Settlement";
//   the design chart: the head settlement under the design load against the
//     parameter (with the settlement limit as a level line when one is
//     given), and the head load at the settlement limit against the
//     parameter (with the design load as a level line when one is given).
// A chart exists only when its value was asked for and at least one
// variant has it. Loads are in kips in English units, as on the program's
// other load graphs.
#pragma once

#include <QString>
#include <memory>
#include <vector>

#include "model/GraphPlot.h"
#include "runner/study_outcome.h"

namespace korvan {

struct TStudyGraph {
  TGraphPlot* graph = nullptr;
  QString fileStem;  // "curves", "design-settlement", "design-load"
};

class TStudyGraphs {
 public:
  TStudyGraphs(const std::vector<TVariantOutcome>& outcomes, const TStudySettings& settings);
  ~TStudyGraphs();
  TStudyGraphs(const TStudyGraphs&) = delete;
  TStudyGraphs& operator=(const TStudyGraphs&) = delete;

  TGraphPlot& Curves() const { return *fCurves; }
  // Nothing when not asked for or no variant has a value.
  TGraphPlot* SettlementChart() const { return fSettlementChart.get(); }
  TGraphPlot* LoadChart() const { return fLoadChart.get(); }

  // Every graph with something to draw (the curves when a variant
  // completed), in the order above, with the stem of its picture.
  std::vector<TStudyGraph> All() const;

 private:
  std::unique_ptr<TGraphPlot> fCurves;
  std::unique_ptr<TGraphPlot> fSettlementChart;
  std::unique_ptr<TGraphPlot> fLoadChart;
};

}  // namespace korvan
