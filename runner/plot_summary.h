// The head-load / head-movement table (and the applied-load results) of a
// plot data file, read block by block with the plot file reader, for the
// table that korvan run prints.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace korvan {

struct SummaryRow {
  double headLoad = 0, headMovement = 0, tipMovement = 0, tipLoad = 0;
};

struct AppliedLoadRow {
  bool converged = false;
  SummaryRow values;
};

struct PlotSummary {
  int unitSystem = 0;
  int increments = 0;
  std::vector<SummaryRow> tipMovementRows;
  std::vector<AppliedLoadRow> appliedLoadRows;  // empty without applied-load results
};

// Nothing when the file is not a regular file, was cut short (its last line
// has no line break), ends before the summary (a stopped run) or holds a
// word that is not a number where one is expected.
std::optional<PlotSummary> ReadPlotSummary(const std::filesystem::path& plotFile);

}  // namespace korvan
