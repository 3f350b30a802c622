// The load-settlement solution: modification factors on the stored curves,
// the walk for every tip movement, the search for every head load, and the
// result sections of the report and the plot file.
#pragma once

#include "run_context.h"

namespace korvan {

// Scales every stored t-z curve by the multipliers at its depth (KMODTZ > 0).
void ApplyTzModification(RunContext& ctx);
// Scales the tip curve by QMULT and WMULT (KMODQW >= 1).
void ApplyQwModification(RunContext& ctx);
// Report section 6 and plot blocks 3 and 4.
void SolveAllTipMovements(RunContext& ctx);
// Report section 7 and plot block 5 (only called when NLOAD > 0).
void SolveAllHeadLoads(RunContext& ctx);

}  // namespace korvan
