// Lookups along the soil profile: a property at a depth, the friction angle
// with its blow-count fallback, and the mean unit weight above a depth. All
// arithmetic is in 32-bit floats. A depth below the profile writes the
// warning block into the report and sets ctx.result; the rules at the ends
// of the profile and at two rows of equal depth are stated with the
// implementations.
#pragma once

#include <string_view>

#include "run_context.h"

namespace korvan {

// The tails of the warning block, which name the input the profile lacks.
inline constexpr std::string_view kStrengthTail = "THE INPUT STRENGTH CURVE";
inline constexpr std::string_view kMaxLoadTransferTail = "THE INPUT MAX. LOAD TRANSFER";
inline constexpr std::string_view kUnitWeightTail = "THE INPUT CURVE FOR UNIT WEIGHT";

// Writes the warning block for depth x with the given tail.
void WriteProfileWarning(RunContext& ctx, Real x, std::string_view tail);

// Linear interpolation of the property column V along the soil property
// rows XSTR; 0 with `code` set (and the warning block) below the profile.
Real ProfileValue(RunContext& ctx, const Array1<Real, kMaxStrRows>& V, Real x, Int code,
                  std::string_view tail);

// Friction angle at x with the blow-count fallback (code 8 on failure).
Real FrictionAngleAt(RunContext& ctx, Real x);

// Friction angle (degrees) from blow count N, blending three correlations by
// the parameter P.
Real PhiFromBlowCount(Real N, Real P);

// The correlation parameter the engine passes to PhiFromBlowCount.
inline constexpr Real kBlowCountCorrelationP = 0;

// Depth-averaged unit weight between XTOP(1) and x (code 4 on failure).
Real MeanUnitWeight(RunContext& ctx, Real x);

}  // namespace korvan
