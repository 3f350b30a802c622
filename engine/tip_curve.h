// Generation of the tip (Q-w) curve from the soil layer at the pile tip.
#pragma once

#include "run_context.h"

namespace korvan {

// The layer holding the tip at depth x: a tip on a layer boundary belongs to
// the upper layer. 0 when the tip lies below every layer or there is none.
Int TipLayer(const InputData& in, Real x);

// Bearing capacity factor Nq = tan^2(45 + phi/2) e^(pi tan phi), phi in
// degrees, with pi taken as 3.1416 throughout.
Real BearingCapacityFactorNq(Real phi);

// Fills NQW, QTIP and WTIP for the tip at PLEN + HEAD. A tip below the soil
// layers, or a property profile ending above the tip, writes the warning
// block and sets the result code (4, 5, 7 or 8). Throws DataFileError when
// the data give no finite tip depth, a soil type outside 1..6 or no finite
// curve.
void GenerateTipCurve(RunContext& ctx);

}  // namespace korvan
