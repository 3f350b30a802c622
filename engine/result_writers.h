// The result sections of the report (results due to tip movements and due to
// applied loads) and the matching blocks of the plot file. Uplift results are
// computed as magnitudes; the writers reverse their signs.
#pragma once

#include "pile_walk.h"
#include "run_context.h"

namespace korvan {

// Report: the title and heading that open the tip-movement results.
// Plot: the sizes line of the distribution block.
void WriteTipMovementResultsStart(RunContext& ctx);

// The block of one tip movement: the report's distribution along the pile
// (depending on LSO) and the plot file's line per increment.
void WriteTipMovementBlock(RunContext& ctx, Real tipMovement, const WalkResult& walk,
                           const PileWalker& walker);

// The head load against head movement table from the signed result arrays,
// in the report and in the plot file.
void WriteTipMovementSummary(RunContext& ctx);

// Report: the heading of the applied-load results. Plot: their sizes line.
void WriteAppliedLoadsStart(RunContext& ctx);

// The result of head load i: converged (with the last walk's distribution)
// or not. Reads HEADLOAD, HEADMV, TIPMV and TIPLOAD of row i.
void WriteAppliedLoadResult(RunContext& ctx, Int i, bool converged, bool uplift,
                            const PileWalker& walker);

// The report lines that stop a run whose walk overflowed: which tip movement
// (or, when `headLoad`, which head load) and the data most likely at fault.
void WriteWalkOverflow(RunContext& ctx, bool headLoad, Real value, WalkOverflow overflow);

// A result with its sign reversed for uplift, and never a negative zero (a
// zero prints as 0.000E+00 whichever way it was reached).
inline Real Signed(Real value, bool reversed) {
  const Real v = reversed ? -value : value;
  return v == 0 ? Real(0) : v;
}

}  // namespace korvan
