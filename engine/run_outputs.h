// The report and the plot file of a run as it writes them: each under a
// temporary name beside its target (staged_output.h), both created before
// either is written and put in place together when the run ends, so that
// they always belong to one run and a run that is killed or cannot write
// them leaves the earlier pair as it was.
#pragma once

#include <string>

#include "run_context.h"
#include "staged_output.h"

namespace korvan {

struct RunOutputs {
  StagedOutput report;
  StagedOutput plot;
};

// Removes the stale temporary files in the outputs' folders, creates the
// temporary files of the report and, when its path was read, of the plot
// file, and opens the run's channels on them. Returns why one could not be
// created (nothing is then left behind), or an empty text.
std::string StageOutputs(RunContext& ctx, RunOutputs& outputs);

struct ClosedOutputs {
  bool plotWhole = true;
  bool reportWhole = true;
};

// Closes the report and plot channels, the plot file first, so that one that
// could not be written whole is still named in the report; a failed write of
// either makes the result 9 whatever the run reached. The paths name the
// outputs in the messages.
ClosedOutputs CloseOutputs(RunContext& ctx, const std::string& reportPath,
                           const std::string& plotPath, bool syncToDisk = false);

// Closes the staged outputs and puts them in place together: both when the
// report was written whole (it then tells how the run ended), a plot file
// that could not be written whole emptied rather than cut short; neither
// when the report could not be written, so that the earlier pair stays.
void FinishOutputs(RunContext& ctx, RunOutputs& outputs);

}  // namespace korvan
