#include "head_load_solution.h"

#include <algorithm>

#include "head_load_search.h"
#include "result_writers.h"
#include "run_texts.h"

namespace korvan {

void SolveAllHeadLoads(RunContext& ctx) {
  if (ctx.Failed()) return;
  WriteStartBanner(ctx);
  InputData& in = ctx.in;
  Results& res = ctx.res;
  const Int nload = std::clamp<Int>(in.NLOAD, 0, kMaxLoads);
  const Int ntipmv = std::clamp<Int>(in.NTIPMV, 0, kMaxTipMovements);

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
