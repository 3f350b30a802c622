// Modification factors: the t-z curves and the tip curve in the store are
// scaled once, after their listings were printed and before the first walk.
#pragma once

#include "run_context.h"

namespace korvan {

// Scales every stored t-z curve by the multipliers at its depth (KMODTZ > 0).
void ApplyTzModification(RunContext& ctx);
// Scales the tip curve by QMULT and WMULT (KMODQW >= 1).
void ApplyQwModification(RunContext& ctx);

}  // namespace korvan
