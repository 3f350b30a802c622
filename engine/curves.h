// The load-transfer curves of a run: echo of the user curves, generation of
// the t-z curves (report set and analysis set) and of the tip curve, and the
// curve blocks of the plot file. A profile too short for a needed depth sets
// ctx.result (codes 4 to 8) after writing the warning block.
#pragma once

#include "run_context.h"

namespace korvan {

// The report's listings of the user t-z curves and the user tip curve, as
// read (each only when the user gave it).
void EchoUserCurves(RunContext& ctx);
// The plot file's t-z curve block and, for generated curves, their listing
// in the report; leaves the analysis set (user curves, or one generated
// curve per increment) in ctx.in.tz.
void PrepareTzCurves(RunContext& ctx);
// The plot file's tip curve block and, for a generated tip curve, its
// listing in the report; generates the tip curve unless it is the user's.
void PrepareTipCurve(RunContext& ctx);

}  // namespace korvan
