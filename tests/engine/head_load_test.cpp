#include <gtest/gtest.h>

#include <cmath>

#include "engine/head_load_search.h"
#include "engine/head_load_solution.h"
#include "engine/tip_movement_solution.h"
#include "pile_fixture.h"
#include "test_support.h"

namespace korvan {
namespace {

using testing::MakePile;
using testing::PileDefinition;
using testing::SetTipMovements;

TEST(StartingTipMovement, FromTheSignedTable) {
  Results res;
  Array1<Real, kMaxTipMovements> tipmv{};
  const Real heads[] = {-300, -100, 0, 200, 200, 500};
  const Real moves[] = {-0.5f, -0.1f, 0.01f, 0.1f, 0.3f, 1};
  for (Int n = 1; n <= 6; ++n) {
    res.HEADLOAD[n] = heads[n - 1];
    tipmv[n] = moves[n - 1];
  }
  const struct {
    Real load;
    Real expected;
  } cases[] = {
      {-400, -0.5f},  // below the first row
      {900, 1},       // above the last row
      {-300, -0.5f},  // the first row
      {-200, -0.3f},  // interpolated
      {100, 0.055f},  // interpolated
      {200, 0.2f},    // two rows at one load: their mean
      {500, 1},       // the last row
      {350, 0.65f},
  };
  for (const auto& c : cases) {
    EXPECT_FLOAT_EQ(StartingTipMovement(res, tipmv, 6, c.load), c.expected) << c.load;
  }
  EXPECT_EQ(StartingTipMovement(res, tipmv, 0, 100), 0);
  EXPECT_EQ(StartingTipMovement(res, tipmv, 1, 100), tipmv[1]);
}

std::unique_ptr<RunContext> SolvedPile(const PileDefinition& pile,
                                       const std::vector<Real>& movements,
                                       const std::vector<Real>& loads) {
  auto ctx = MakePile(pile);
  SetTipMovements(ctx->in, movements);
  ctx->in.NLOAD = static_cast<Int>(loads.size());
  for (std::size_t i = 0; i < loads.size(); ++i) ctx->in.PLOAD[i + 1] = loads[i];
  SolveAllTipMovements(*ctx);
  return ctx;
}

TEST(HeadLoadSolution, WithoutSideLoadTheTipCarriesTheHeadLoad) {
  PileDefinition pile;
  pile.tz = {{1, 0}};
  auto ctx = SolvedPile(pile, {0.01f, 0.1f, 0.5f}, {1500, 2500, 100});
  SolveAllHeadLoads(*ctx);
  EXPECT_EQ(ctx->in.NTIPMV, 3);
  for (Int i = 1; i <= 3; ++i) {
    const Real P = ctx->in.PLOAD[i];
    EXPECT_EQ(ctx->res.HEADLOAD[i], P);
    EXPECT_NEAR(ctx->res.TIPLOAD[i], P, 0.0005f * P) << P;
    EXPECT_GT(ctx->in.TIPMV[i], 0);
    EXPECT_GT(ctx->res.HEADMV[i], ctx->in.TIPMV[i] * 0.97f);
  }
}

TEST(HeadLoadSolution, ALoadOfTheTableConvergesAtOnce) {
  auto ctx = SolvedPile(PileDefinition{}, {0.01f, 0.1f, 0.5f}, {});
  const Real rowLoad = ctx->res.HEADLOAD[2];
  const Real rowHeadMove = ctx->res.HEADMV[2];
  PileWalker walker(ctx->in);
  const Real start = StartingTipMovement(ctx->res, ctx->in.TIPMV, 3, rowLoad);
  EXPECT_EQ(start, 0.1f);
  const HeadLoadSolution solution = SearchHeadLoad(walker, rowLoad, start);
  EXPECT_TRUE(solution.converged);
  EXPECT_EQ(solution.walks, 1);
  EXPECT_EQ(solution.tipMovement, 0.1f);
  EXPECT_EQ(solution.lastWalk.headMove, rowHeadMove);
}

TEST(HeadLoadSolution, TheTrialIsUpdatedBeforeTheConvergenceTest) {
  // A first walk within 0.05 % of the load converges at once, and the
  // reported movement is the start scaled by 1.02 (load too small) or 0.98.
  auto ctx = SolvedPile(PileDefinition{}, {0.1f, 0.3f}, {});
  PileWalker walker(ctx->in);
  const Real atStart = walker.Walk(0.2f).headLoad;
  const struct {
    Real factor;
    Real expectedTrial;
  } cases[] = {{1.0003f, 0.2f * 1.02f}, {0.9997f, 0.2f * 0.98f}, {1, 0.2f}};
  for (const auto& c : cases) {
    const HeadLoadSolution solution = SearchHeadLoad(walker, atStart * c.factor, 0.2f);
    EXPECT_TRUE(solution.converged) << c.factor;
    EXPECT_EQ(solution.walks, 1) << c.factor;
    EXPECT_EQ(solution.tipMovement, c.expectedTrial) << c.factor;
  }
}

TEST(HeadLoadSolution, TheBracketStartsWithTheSecondWalkAndBisectsItsEnds) {
  // No side load and a linear tip curve: the head load grows in proportion
  // to the tip movement.
  PileDefinition pile;
  pile.tz = {{1, 0}};
  pile.tip = {{100, 100000}};
  auto ctx = MakePile(pile);
  PileWalker walker(ctx->in);
  const Real start = 0.2f;
  const Real atStart = walker.Walk(start).headLoad;
  const Real w1 = start * 1.02f;  // the trial after the first walk
  const Real w2 = w1 * 1.02f;
  const Real w3 = (w2 + w1) / 2;
  const struct {
    const char* name;
    Real factor;
    Real expectedTrial;
    Int walks;
  } cases[] = {
      // The second walk overshoots within 0.05 %: the first walk is no end
      // of the bracket, so the trial is scaled back, not bisected.
      {"converges on the second walk", 1.0198f, w1 * 0.98f, 2},
      // Walks 2 and 3 bracket the load; walk 4 lands within 0.05 % above
      // it and becomes the new upper end.
      {"bisects after two steps", 1.03f, (w3 + w1) / 2, 4},
  };
  for (const auto& c : cases) {
    const HeadLoadSolution solution = SearchHeadLoad(walker, atStart * c.factor, start);
    EXPECT_TRUE(solution.converged) << c.name;
    EXPECT_EQ(solution.walks, c.walks) << c.name;
    EXPECT_EQ(solution.tipMovement, c.expectedTrial) << c.name;
  }
}

TEST(HeadLoadSolution, SearchesUpliftAboveAndBetweenTheRows) {
  auto ctx = SolvedPile(PileDefinition{}, {-0.5f, -0.01f, 0.01f, 0.1f, 0.15f}, {});
  const Real uplift = 0.5f * ctx->res.HEADLOAD[1];  // between the uplift rows
  const Real between = 0.5f * (ctx->res.HEADLOAD[3] + ctx->res.HEADLOAD[4]);
  PileWalker reference(ctx->in);
  const Real above = reference.Walk(0.25f).headLoad;  // beyond the series
  ctx->in.NLOAD = 3;
  ctx->in.PLOAD[1] = uplift;
  ctx->in.PLOAD[2] = between;
  ctx->in.PLOAD[3] = above;
  SolveAllHeadLoads(*ctx);
  const InputData& in = ctx->in;
  const Results& res = ctx->res;
  // Uplift: negative trial throughout, no tip load.
  EXPECT_EQ(res.UPFLAG[1], 1);
  EXPECT_LT(in.TIPMV[1], -0.01f);
  EXPECT_GT(in.TIPMV[1], -0.5f);
  EXPECT_EQ(res.TIPLOAD[1], 0);
  EXPECT_GT(res.HEADMV[1], 0);  // a magnitude; the writers reverse it
  EXPECT_GT(in.TIPMV[2], 0.01f);
  EXPECT_LT(in.TIPMV[2], 0.1f);
  EXPECT_GT(in.TIPMV[3], 0.15f);
  for (Int i = 1; i <= 3; ++i) {
    EXPECT_EQ(res.HEADLOAD[i], in.PLOAD[i]);
    // The walk at the reported movement reproduces the load closely.
    PileWalker walker(ctx->in);
    const WalkResult check = walker.Walk(in.TIPMV[i]);
    EXPECT_NEAR(check.headLoad, std::fabs(in.PLOAD[i]), 0.03f * std::fabs(in.PLOAD[i])) << i;
  }
}

TEST(HeadLoadSolution, LoadsThatCannotConvergeGiveZeros) {
  // Capacity: tip 3000 plus side 6 psi over the shaft.
  const Real capacity = 3000 + 6 * 12 * 3.1416f * 480;
  auto ctx = SolvedPile(PileDefinition{}, {0.01f, 0.1f, 1}, {0, 2 * capacity});
  PileWalker walker(ctx->in);
  const HeadLoadSolution zero = SearchHeadLoad(walker, 0, 0.01f);
  EXPECT_FALSE(zero.converged);
  EXPECT_EQ(zero.walks, kMaxSearchWalks);
  SolveAllHeadLoads(*ctx);
  for (Int i = 1; i <= 2; ++i) {
    EXPECT_EQ(ctx->res.HEADLOAD[i], ctx->in.PLOAD[i]);
    EXPECT_EQ(ctx->res.HEADMV[i], 0);
    EXPECT_EQ(ctx->in.TIPMV[i], 0);
    EXPECT_EQ(ctx->res.TIPLOAD[i], 0);
  }
}

TEST(HeadLoadSolution, PlotBlockHoldsDistributionsOfConvergedLoadsOnly) {
  PileDefinition pile;
  pile.ninc = 30;
  auto ctx = SolvedPile(pile, {0.01f, 0.1f, 1}, {});
  const Real capacity = 3000 + 6 * 12 * 3.1416f * 480;
  const std::vector<Real> loads = {ctx->res.HEADLOAD[2], 2 * capacity, ctx->res.HEADLOAD[1], 0};
  ctx->in.NLOAD = 4;
  for (Int i = 1; i <= 4; ++i) ctx->in.PLOAD[i] = loads[i - 1];
  ctx->plot.OpenMemory();
  SolveAllHeadLoads(*ctx);
  const auto lines = testing::SplitLines(ctx->plot.Text());
  // Sizes, then per load a flag and a result line, and NINC lines when it converged.
  EXPECT_EQ(lines.size(), 1u + (2 + 30) + 2 + (2 + 30) + 2);
}

}  // namespace
}  // namespace korvan
