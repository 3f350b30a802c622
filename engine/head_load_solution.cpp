#include "head_load_solution.h"

#include "head_load_search.h"
#include "result_writers.h"
#include "run_texts.h"

namespace korvan {

void SolveAllHeadLoads(RunContext& ctx) {
  if (ctx.Failed()) return;
  WriteStartBanner(ctx);
  InputData& in = ctx.in;
  Results& res = ctx.res;
  const Int nload = StoredCount(in.NLOAD, kMaxLoads);
  const Int ntipmv = StoredCount(in.NTIPMV, kMaxTipMovements);

  // Every start is taken from the table before the searches overwrite it.
  Array1<Real, kMaxLoads> start{};
  for (Int i = 1; i <= nload; ++i) {
    start[i] = StartingTipMovement(res, in.TIPMV, ntipmv, in.PLOAD[i]);
  }
  for (Int i = 1; i <= nload; ++i) in.TIPMV[i] = start[i];
  in.NTIPMV = nload;

  PileWalker walker(in);
  WriteAppliedLoadsStart(ctx);
  for (Int i = 1; i <= nload; ++i) {
    const Real P = in.PLOAD[i];
    const HeadLoadSolution solution = SearchHeadLoad(walker, P, start[i]);
    if (solution.overflow != WalkOverflow::kNone) {
      WriteWalkOverflow(ctx, /*headLoad=*/true, P, solution.overflow);
      ctx.result = kProjectDataError;
      return;
    }
    res.HEADLOAD[i] = P;
    if (solution.converged) {
      res.HEADMV[i] = solution.lastWalk.headMove;
      in.TIPMV[i] = solution.tipMovement;
      res.TIPLOAD[i] = solution.lastWalk.tipLoad;
    } else {
      res.HEADMV[i] = 0;
      in.TIPMV[i] = 0;
      res.TIPLOAD[i] = 0;
    }
    res.UPFLAG[i] = solution.lastWalk.uplift ? 1 : 0;
    WriteAppliedLoadResult(ctx, i, solution.converged, solution.lastWalk.uplift, walker);
  }
}

}  // namespace korvan
