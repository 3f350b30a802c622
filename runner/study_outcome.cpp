#include "runner/study_outcome.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <sstream>

#include "platform/input_file.h"

namespace korvan {

namespace {

// The largest file a reason is looked for in; a report is far smaller.
constexpr std::size_t kMaxReasonSource = 64 * 1024 * 1024;

std::string ReadWhole(const std::filesystem::path& path) {
  const platform::TInputFile file(path);
  std::string text;
  if (!file.Opened()) return text;
  char buffer[65536];
  for (ssize_t n; (n = ::read(file.Descriptor(), buffer, sizeof buffer)) != 0;) {
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 || text.size() > kMaxReasonSource) break;
    text.append(buffer, static_cast<std::size_t>(n));
  }
  return text;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream stream(text);
  for (std::string line; std::getline(stream, line);) lines.push_back(line);
  return lines;
}

// The words of a text joined by single blanks.
std::string Collapsed(const std::string& text) {
  std::istringstream words(text);
  std::string joined;
  for (std::string word; words >> word;) joined += (joined.empty() ? "" : " ") + word;
  return joined;
}

// "**** WARNING ****" or "**** ERROR IN THE PROJECT DATA FILE ****".
bool IsMarker(const std::string& line) {
  const std::string text = Collapsed(line);
  return text.size() > 8 && text.starts_with("****") && text.ends_with("****");
}

std::string ReportReason(const std::string& report) {
  const std::vector<std::string> lines = Lines(report);
  const auto marker = std::find_if(lines.rbegin(), lines.rend(), IsMarker);
  if (marker == lines.rend()) return {};
  std::string heading = Collapsed(*marker);
  heading = Collapsed(heading.substr(4, heading.size() - 8));
  std::string detail;
  for (auto line = marker.base(); line != lines.end() && !Collapsed(*line).empty(); ++line) {
    detail += " " + *line;
  }
  detail = Collapsed(detail);
  if (heading == "WARNING" || heading.empty()) return detail.empty() ? heading : detail;
  return detail.empty() ? heading : heading + ": " + detail;
}

std::string LogReason(const std::string& log) {
  const std::vector<std::string> lines = Lines(log);
  for (auto line = lines.rbegin(); line != lines.rend(); ++line) {
    if (line->starts_with("korvan: ")) return Collapsed(line->substr(8));
  }
  for (auto line = lines.begin(); line != lines.end(); ++line) {
    if (Collapsed(*line) != "FILE ERRORS!") continue;
    for (auto next = line + 1; next != lines.end(); ++next) {
      if (!Collapsed(*next).empty()) return "FILE ERRORS! " + Collapsed(*next);
    }
  }
  return {};
}

}  // namespace

const char* LengthUnit(int unitSystem) {
  return unitSystem == 1 ? "in" : "m";
}

const char* ForceUnit(int unitSystem) {
  return unitSystem == 1 ? "lbs" : "kN";
}

std::vector<TCurvePoint> LoadSettlementCurve(const std::vector<SummaryRow>& rows,
                                             bool startsAtOrigin) {
  std::vector<TCurvePoint> curve;
  if (rows.empty()) return curve;
  if (startsAtOrigin && rows.front().headLoad > 0)
    curve.push_back({0, 0});
  else
    curve.push_back({rows.front().headLoad, rows.front().headMovement});
  for (const SummaryRow& row : rows) curve.push_back({row.headLoad, row.headMovement});
  return curve;
}

std::optional<double> LoadAtSettlement(const std::vector<TCurvePoint>& curve, double settlement) {
  for (std::size_t i = 0; i + 1 < curve.size(); ++i) {
    const TCurvePoint& a = curve[i];
    const TCurvePoint& b = curve[i + 1];
    if (!(a.settlement <= settlement && settlement <= b.settlement)) continue;
    if (b.settlement == a.settlement) return a.load;
    return a.load + (b.load - a.load) * (settlement - a.settlement) / (b.settlement - a.settlement);
  }
  return std::nullopt;
}

std::string StoppedReason(int status, bool exited, const std::string& report,
                          const std::string& log) {
  if (!exited) return "the run was ended by signal " + std::to_string(status);
  if (std::string reason = ReportReason(report); !reason.empty()) return reason;
  if (std::string reason = LogReason(log); !reason.empty()) return reason;
  return "the run stopped with result code " + std::to_string(status);
}

TVariantOutcome ReadVariantOutcome(double value, const TVariantRunResult& run,
                                   const std::filesystem::path& report,
                                   const std::filesystem::path& plotFile,
                                   const std::filesystem::path& log,
                                   const TStudySettings& settings) {
  TVariantOutcome outcome;
  outcome.value = value;
  outcome.code = run.exited ? run.status : 128 + run.status;
  if (!run.ran) {
    outcome.code = kVariantNotRun;
    outcome.reason = "not analysed: the study was stopped first";
    return outcome;
  }
  if (outcome.code != 0) {
    outcome.reason = StoppedReason(run.status, run.exited, ReadWhole(report), ReadWhole(log));
    return outcome;
  }
  const std::optional<PlotSummary> summary = ReadPlotSummary(plotFile);
  if (!summary || summary->tipMovementRows.empty()) {
    outcome.code = kVariantWithoutResults;
    outcome.reason = "the run completed, but its plot data file holds no complete results";
    return outcome;
  }
  outcome.curve = LoadSettlementCurve(summary->tipMovementRows, settings.curvesStartAtOrigin);
  outcome.largestHeadLoad =
      std::max_element(
          summary->tipMovementRows.begin(), summary->tipMovementRows.end(),
          [](const SummaryRow& a, const SummaryRow& b) { return a.headLoad < b.headLoad; })
          ->headLoad;
  if (settings.designLoad) {
    const auto& loads = summary->appliedLoadRows;
    if (settings.designLoadIndex >= loads.size()) {
      outcome.notes.push_back("the plot data file holds no result for the design load");
    } else if (!loads[settings.designLoadIndex].converged) {
      outcome.notes.push_back("the engine's head-load search did not converge for the design load");
    } else {
      outcome.designSettlement = loads[settings.designLoadIndex].values.headMovement;
    }
  }
  if (settings.settlementLimit) {
    outcome.limitLoad = LoadAtSettlement(outcome.curve, *settings.settlementLimit);
    if (!outcome.limitLoad) {
      outcome.notes.push_back("the load-settlement curve does not reach the settlement limit");
    }
  }
  return outcome;
}

}  // namespace korvan
