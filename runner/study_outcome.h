// What one variant of a design study gave: its result code and, when its
// run stopped, the engine's reason; when it completed, its load-settlement
// curve, the largest head load of that curve, the head settlement the
// engine's head-load search found for the design load, and the head load at
// the settlement limit, interpolated on the curve. No Qt.
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "runner/plot_summary.h"
#include "runner/study_range.h"
#include "runner/variant_runs.h"

namespace korvan {

struct TStudySettings {
  TStudyParameter parameter = TStudyParameter::kLength;
  int unitSystem = 1;  // 1 English (in, lbs), 2 SI (m, kN)
  std::optional<double> designLoad;
  std::optional<double> settlementLimit;
  // The design load's place among each variant's head loads: after the
  // project's own.
  std::size_t designLoadIndex = 0;
  // The load-settlement graph starts at the origin unless the project has
  // down-drag, where it starts at its first computed point.
  bool curvesStartAtOrigin = true;
};

// "in" or "m", "lbs" or "kN".
const char* LengthUnit(int unitSystem);
const char* ForceUnit(int unitSystem);

struct TCurvePoint {
  double load = 0;
  double settlement = 0;
};

// The result code of a variant that could not be read back: its run
// completed, but its plot data file holds no complete results.
inline constexpr int kVariantWithoutResults = 70;
// The result code of a variant whose run a stopped study never finished.
inline constexpr int kVariantNotRun = -1;

struct TVariantOutcome {
  double value = 0;
  // 0 completed; 2..9 the engine's result code; another status of
  // `korvan run` (64..75), 128 + a signal's number, or kVariantNotRun.
  int code = 0;
  std::string reason;  // why the run stopped, empty when it completed
  std::vector<TCurvePoint> curve;
  std::optional<double> largestHeadLoad;
  std::optional<double> designSettlement;
  std::optional<double> limitLoad;
  // Why a value of a completed variant is empty.
  std::vector<std::string> notes;

  bool Completed() const { return code == 0; }
};

// The head load against head settlement points of the tip-movement rows, as
// the Axial Load vs Settlement graph draws them: the origin first (or a copy
// of the first row, see TStudySettings), then every row in order.
std::vector<TCurvePoint> LoadSettlementCurve(const std::vector<SummaryRow>& rows,
                                             bool startsAtOrigin);

// The head load where the curve first rises to `settlement`, linear between
// its points; nothing when it never reaches it.
std::optional<double> LoadAtSettlement(const std::vector<TCurvePoint>& curve, double settlement);

// Why a run stopped, in the engine's words: the last warning or error block
// of its report; else the runner's own message in `log` (its standard output
// and error); else the code. `exited` is false when a signal ended it.
std::string StoppedReason(int status, bool exited, const std::string& report,
                          const std::string& log);

// The outcome of the variant of `value` from its run and the files it left:
// the report, the plot data file (`plotFile`) and the runner's `log`.
TVariantOutcome ReadVariantOutcome(double value, const TVariantRunResult& run,
                                   const std::filesystem::path& report,
                                   const std::filesystem::path& plotFile,
                                   const std::filesystem::path& log,
                                   const TStudySettings& settings);

}  // namespace korvan
