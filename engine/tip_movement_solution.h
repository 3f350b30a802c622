// The load-settlement curve driven by the tip: one walk per tip movement in
// the order of the series, each written as it is made, then the summary,
// after which the stored results carry the signs of the movements.
#pragma once

#include "run_context.h"

namespace korvan {

// The tip-movement results of the report and the distributions and summary
// of the plot file.
void SolveAllTipMovements(RunContext& ctx);

}  // namespace korvan
