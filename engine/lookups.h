// The engine's lookups by depth and by movement. All arithmetic is in 32-bit
// floats. Each lookup has its own rules at the ends of its table and at two
// rows of equal depth; they are stated with the implementations.
#pragma once

#include <string_view>

#include "run_context.h"

namespace korvan {

// --- Soil profile lookups (profile_lookups.cpp) ---------------------------
// These write the warning block into the report and set ctx.result when the
// depth lies below the profile.

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

// --- Curve and table lookups (curve_lookups.cpp) ---------------------------
// These never fail.

// Load transfer of one curve with points (z[j], t[j]), j = 1..n, at movement w.
Real CurveValue(const Real* z, const Real* t, Int n, Real w);

// Load transfer at absolute depth x and movement w from the t-z curve store.
Real TzValueAtDepth(const TzCurveStore& tz, Real x, Real w);

// Tip load of the Q-w curve at tip movement w (w >= 0).
Real TipLoadAt(const InputData& in, Real w);

// AE at distance s below the pile head.
Real AxialStiffnessAt(const InputData& in, Real s);

// Soil settlement at absolute depth x (0 outside the profile).
Real SettlementAt(const InputData& in, Real x);

struct Multipliers {
  Real t = 1;
  Real z = 1;
};
// t- and z-multipliers at absolute depth x.
Multipliers MultipliersAt(const InputData& in, Real x);

}  // namespace korvan
