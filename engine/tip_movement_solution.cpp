#include "tip_movement_solution.h"

#include "pile_walk.h"
#include "result_writers.h"

namespace korvan {

namespace {

bool PileCanBeWalked(RunContext& ctx, const PileWalker& walker) {
  const InputData& in = ctx.in;
  if (in.NINC < 1 || in.NINC > kMaxIncrements) {
    ctx.report.Write(R"(//5X, "**** ERROR: THE NUMBER OF INCREMENTS MUST BE 1 TO ", I3, " ****")",
                     {kMaxIncrements});
  } else if (!walker.StiffnessIsPositive()) {
    // A zero or negative AE would give infinite shortenings.
    ctx.report.Write(
        R"(//5X, "**** ERROR: THE AXIAL STIFFNESS AE MUST BE POSITIVE ALONG THE PILE ****")");
  } else {
    return true;
  }
  ctx.result = kProjectDataError;
  return false;
}

}  // namespace

void SolveAllTipMovements(RunContext& ctx) {
  if (ctx.Failed()) return;
  PileWalker walker(ctx.in);
  if (!PileCanBeWalked(ctx, walker)) return;
  InputData& in = ctx.in;
  Results& res = ctx.res;
  const Int ntipmv = StoredCount(in.NTIPMV, kMaxTipMovements);

  WriteTipMovementResultsStart(ctx);
  for (Int n = 1; n <= ntipmv; ++n) {
    const WalkResult walk = walker.Walk(in.TIPMV[n]);
    if (const WalkOverflow overflow = FindOverflow(walk, walker); overflow != WalkOverflow::kNone) {
      WriteWalkOverflow(ctx, /*headLoad=*/false, in.TIPMV[n], overflow);
      ctx.result = kProjectDataError;
      return;
    }
    res.HEADLOAD[n] = walk.headLoad;
    res.HEADMV[n] = walk.headMove;
    res.TIPLOAD[n] = walk.tipLoad;
    res.UPFLAG[n] = walk.uplift ? 1 : 0;
    WriteTipMovementBlock(ctx, in.TIPMV[n], walk, walker);
  }
  // From here on the results are signed: uplift rows carry negative values.
  for (Int n = 1; n <= ntipmv; ++n) {
    const bool uplift = res.UPFLAG[n] == 1;
    res.HEADLOAD[n] = Signed(res.HEADLOAD[n], uplift);
    res.HEADMV[n] = Signed(res.HEADMV[n], uplift);
    res.TIPLOAD[n] = Signed(res.TIPLOAD[n], uplift);
  }
  WriteTipMovementSummary(ctx);
}

}  // namespace korvan
