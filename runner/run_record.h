// What the last run left beside a project, as a calculation report presents
// it: the results of the plot data file, when the analysis ran, what the
// engine warned about in its report, and whether the project data file was
// changed after the run.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "runner/plot_summary.h"

namespace korvan {

// The date and time in a report's heading ("March 05, 2024 09:07:30"), or
// nothing when the heading has no date line.
std::optional<std::string> AnalysisDateInReport(std::string_view report);

// The warnings of a report, in its order, each as one line with its blanks
// collapsed: the engine's warning and error blocks (the marked line and the
// lines after it up to an empty one) and every applied load that did not
// converge.
std::vector<std::string> RunWarnings(std::string_view report);

// A file's modification time as the report heading writes a date, in local
// time ("March 05, 2024 09:07:30"); nothing when the file cannot be stat'ed.
std::optional<std::string> ModificationDate(const std::filesystem::path& file);

// Whether `file` was modified later than `than` (to the nanosecond); false
// when either cannot be stat'ed.
bool ModifiedLater(const std::filesystem::path& file, const std::filesystem::path& than);

struct RunRecord {
  // Nothing when the plot data file is missing, cut short or holds no
  // complete results: the project then has no results to present.
  std::optional<PlotSummary> summary;
  std::string analysisDate;  // empty without results
  bool dateFromReport = false;
  // False when the report is missing or cannot be read: its warnings are
  // then unknown.
  bool reportRead = false;
  std::vector<std::string> warnings;
  // The project data file is newer than its results.
  bool dataNewerThanResults = false;
};

// The record of the run of the project data file `dataFile`: its plot data
// file, report and their times, read only when they are regular files.
RunRecord ReadRunRecord(const std::filesystem::path& dataFile);

}  // namespace korvan
