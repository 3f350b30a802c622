// The search for the tip movement that makes a walk produce a given head
// load: proportional steps until the load is bracketed, then bisection.
#pragma once

#include "data_model.h"
#include "pile_walk.h"

namespace korvan {

// Starting tip movement for head load P from the signed table of head loads
// against tip movements (rows 1..n, in the order of the series).
Real StartingTipMovement(const Results& res, const Array1<Real, kMaxTipMovements>& tipMovements,
                         Int n, Real P);

struct HeadLoadSolution {
  bool converged = false;
  Real tipMovement = 0;  // the trial after the last update
  WalkResult lastWalk;   // the walk whose distribution is reported
  Int walks = 0;
  // Set when a walk of the search overflowed; the search stops there.
  WalkOverflow overflow = WalkOverflow::kNone;
};

inline constexpr Int kMaxSearchWalks = 100;

// Searches from `start` for head load P; the walker keeps the last walk.
HeadLoadSolution SearchHeadLoad(PileWalker& walker, Real P, Real start);

}  // namespace korvan
