// The report heading: program, installation and user, file names, and the
// date and time of the analysis.
#pragma once

#include <ctime>
#include <string>
#include <string_view>

#include "run_context.h"

namespace korvan {

struct PathParts {
  std::string drive;      // "C:" on Windows paths, empty otherwise
  std::string directory;  // with its leading and trailing separators
  std::string name;       // file name with its extension
};

PathParts SplitPath(std::string_view path);

// Writes the 27 lines of the heading, the last of which holds the date and
// time `now` (local time).
void WriteReportHeading(RunContext& ctx, const std::tm& now);

}  // namespace korvan
