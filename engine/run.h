#pragma once

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

// Runs the project given as text, without names.dat, heading or console,
// writing the report and the plot file to the given paths (tests, fuzzing,
// benchmarks).
Int RunProjectText(std::string projectText, const std::string& reportPath,
                   const std::string& plotPath, RunScope scope = RunScope::Complete);

// What RunProjectText writes, kept in memory instead of files.
struct ProjectOutputs {
  Int result = 0;
  std::string report;
  std::string plot;
};
ProjectOutputs RunProjectInMemory(std::string projectText, RunScope scope = RunScope::Complete);

}  // namespace korvan
