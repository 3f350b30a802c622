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
// writing the report and the plot file to the given paths (tests, fuzzing).
Int RunProjectText(std::string projectText, const std::string& reportPath,
                   const std::string& plotPath, RunScope scope = RunScope::Complete);

}  // namespace korvan
