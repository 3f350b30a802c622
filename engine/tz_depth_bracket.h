// The t-z lookup split in two: where a depth lies among the stored curves
// (which depends on the depth alone) and the load transfer at a movement.
// The walk locates each increment's depth once per run and then reads the
// curves without scanning the store; TzValueAtDepth is the two steps in one,
// so both give identical results.
#pragma once

#include "data_model.h"

namespace korvan {

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

}  // namespace korvan
