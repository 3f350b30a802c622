// Applied head loads: each load is solved by a search for its tip movement,
// starting from the signed results of the tip-movement series.
#pragma once

#include "run_context.h"

namespace korvan {

// The applied-load results of the report and of the plot file (called only
// when NLOAD > 0, after SolveAllTipMovements).
void SolveAllHeadLoads(RunContext& ctx);

}  // namespace korvan
