// Lookups in the curves and tables of a run by depth and by movement: t-z
// curves, the tip curve, the AE table, the soil settlement profile and the
// t-z modification rows. All arithmetic is in 32-bit floats. These never
// fail; each keeps its own rules at the ends of its table and at two rows of
// equal depth, stated with the implementations.
#pragma once

#include "data_model.h"

namespace korvan {

// Load transfer of one curve with points (z[j], t[j]), j = 1..n, at movement w.
Real CurveValue(const Real* z, const Real* t, Int n, Real w);

// Load transfer at absolute depth x and movement w from the t-z curve store.
Real TzValueAtDepth(const TzCurveStore& tz, Real x, Real w);

// The t-z lookup split in two: where a depth lies among the stored curves
// (which depends on the depth alone), then the load transfer at a movement.
// The walk locates each increment's depth once per run and then reads the
// curves without scanning the store; TzValueAtDepth is the two steps in one,
// so both give identical results.
struct TzDepthBracket {
  // Curve index (1-based) of the curve above the depth and of the one at or
  // below it; equal when the depth is read from a single curve. 0 when the
  // store holds no curve.
  Int upper = 0;
  Int lower = 0;
  Real depth = 0;
};
TzDepthBracket LocateTzDepth(const TzCurveStore& tz, Real x);
Real TzValueInBracket(const TzCurveStore& tz, const TzDepthBracket& bracket, Real w);

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
