// The load-transfer curves of a run: echo of the user curves, generation of
// the t-z curves (report set and analysis set) and of the tip curve, and the
// curve blocks of the plot file. A profile too short for a needed depth sets
// ctx.result (codes 4 to 8) after writing the warning block.
#pragma once

#include "run_context.h"

namespace korvan {

// Report sections 4a and 4b: the user curves as read.
void EchoUserCurves(RunContext& ctx);
// Plot block 1, and for generated curves report section 4c; leaves the
// analysis set (user curves, or one generated curve per increment) in
// ctx.in.tz.
void PrepareTzCurves(RunContext& ctx);
// Report section 4d and plot block 2; generates the tip curve unless it is
// the user's.
void PrepareTipCurve(RunContext& ctx);

}  // namespace korvan
