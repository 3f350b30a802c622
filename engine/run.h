#pragma once

#include <limits>
#include <string>

#include "data_model.h"

namespace korvan {

// One complete run driven by names.dat in the current directory; returns the
// result code. Never throws.
Int RunAnalysis();

enum class RunScope {
  Complete,
  ReadAndCurvesOnly,  // stops before the first walk
};

// Caps on the sizes a data file asks for, each applied right after it is
// read, so that a fuzzed project runs whole in milliseconds; the defaults cap
// nothing.
struct RunLimits {
  Int maxIncrements = std::numeric_limits<Int>::max();
  Int maxTipMovements = std::numeric_limits<Int>::max();
  Int maxHeadLoads = std::numeric_limits<Int>::max();
};

// Runs the project given as text, without names.dat, heading or console,
// writing the report and the plot file to the given paths (tests, fuzzing,
// benchmarks).
Int RunProjectText(std::string projectText, const std::string& reportPath,
                   const std::string& plotPath, RunScope scope = RunScope::Complete,
                   const RunLimits& limits = {});

// What RunProjectText writes, kept in memory instead of files.
struct ProjectOutputs {
  Int result = 0;
  std::string report;
  std::string plot;
};
ProjectOutputs RunProjectInMemory(std::string projectText, RunScope scope = RunScope::Complete,
                                  const RunLimits& limits = {});

}  // namespace korvan
