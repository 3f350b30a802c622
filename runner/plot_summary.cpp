#include "runner/plot_summary.h"

#include "runner/plot_file_reader.h"

namespace korvan {

namespace {

// Every word the summary passes over must be a number too: a file with
// anything else in it holds no complete results.
void SkipNumbers(TPlotFileReader& words, long long count) {
  for (long long i = 0; i < count; ++i) words.Double();
}

SummaryRow ReadRow(TPlotFileReader& words) {
  SummaryRow row;
  row.headLoad = words.Double();
  row.headMovement = words.Double();
  row.tipMovement = words.Double();
  row.tipLoad = words.Double();
  return row;
}

}  // namespace

std::optional<PlotSummary> ReadPlotSummary(const std::filesystem::path& plotFile) {
  try {
    TPlotFileReader words(plotFile);
    PlotSummary summary;
    // The t-z curves: a number, a point count and a depth each, then points.
    const int curves = words.Count(3);
    for (int k = 0; k < curves; ++k) {
      words.Integer();  // the curve's number
      const int points = words.Count(2);
      SkipNumbers(words, 1 + 2LL * points);
    }
    SkipNumbers(words, 2LL * words.Count(2));  // the tip curve
    const int movements = words.Count(0);
    summary.increments = words.Count(0);
    summary.unitSystem = words.Integer();
    // Three words a point, then four summary words a line.
    words.Require(movements, 3LL * summary.increments + 4);
    SkipNumbers(words, 3LL * movements * summary.increments);
    for (int n = 0; n < movements; ++n) summary.tipMovementRows.push_back(ReadRow(words));
    if (!words.AtEnd()) {
      const int loads = words.Count(5);
      const int increments = words.Count(0);
      words.Integer();  // the unit system again
      for (int i = 0; i < loads; ++i) {
        AppliedLoadRow row;
        row.converged = words.Integer() == 1;
        row.values = ReadRow(words);
        if (row.converged) {
          words.Require(increments, 3);
          SkipNumbers(words, 3LL * increments);
        }
        summary.appliedLoadRows.push_back(row);
      }
    }
    // The engine ends every line with a line break: a file without one at
    // its end was cut short, maybe inside its last number.
    words.RequireWhole();
    return summary;
  } catch (const PlotFileError&) {
    return std::nullopt;
  }
}

}  // namespace korvan
