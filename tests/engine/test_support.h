// Helpers for engine tests: run a project given as text and read back the
// report and the plot file.
#pragma once

#include <string>
#include <vector>

#include "engine/data_model.h"

namespace korvan::testing {

struct ProjectRun {
  Int result = 0;
  std::string report;
  std::string plot;
  std::vector<std::string> ReportLines() const;
  std::vector<std::string> PlotLines() const;
};

// Runs the engine on `projectText` (no names.dat, no heading).
ProjectRun RunProject(const std::string& projectText);

std::string ReadFile(const std::string& path);
std::vector<std::string> SplitLines(const std::string& text);
// The blank-separated words of a line.
std::vector<std::string> Words(const std::string& line);

}  // namespace korvan::testing
