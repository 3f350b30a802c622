#include <gtest/gtest.h>

#include <cmath>

#include "engine/curve_lookups.h"
#include "engine/head_load_solution.h"
#include "engine/modifications.h"
#include "engine/pile_walk.h"
#include "engine/tip_movement_solution.h"
#include "pile_fixture.h"

namespace korvan {
namespace {

using testing::MakePile;
using testing::PileDefinition;
using testing::SetTipMovements;

TEST(TipMovementSolution, WithoutSideLoadTheHeadCarriesTheTipLoad) {
  PileDefinition pile;
  pile.tz = {{0.1f, 0}, {1, 0}};
  for (const Real stiffness : {4.0E+08f, 2.5E+06f}) {
    pile.stiffness = stiffness;
    auto ctx = MakePile(pile);
    const std::vector<Real> movements = {-0.5f, 0.01f, 0.1f, 0.6f, 4};
    SetTipMovements(ctx->in, movements);
    SolveAllTipMovements(*ctx);
    ASSERT_EQ(ctx->result, 0);
    const Real dL = pile.length / static_cast<Real>(pile.ninc);
    for (Int n = 1; n <= 5; ++n) {
      const Real w = movements[n - 1];
      const bool uplift = w <= 0;
      const Real tipLoad = uplift ? 0 : TipLoadAt(ctx->in, w);
      EXPECT_EQ(ctx->res.UPFLAG[n], uplift ? 1 : 0);
      EXPECT_EQ(ctx->res.HEADLOAD[n], tipLoad) << w;
      EXPECT_EQ(ctx->res.TIPLOAD[n], tipLoad) << w;
      const Real expectedHeadMove =
          (uplift ? -1.0 : 1.0) * (std::fabs(w) + pile.ninc * (dL * tipLoad / stiffness));
      EXPECT_NEAR(ctx->res.HEADMV[n], expectedHeadMove, 1E-5 * std::fabs(expectedHeadMove)) << w;
    }
  }
}

// A pile on linear shaft springs of modulus k per unit area with a linear
// tip spring kb: with c = k·π·D and λ = √(c/AE), measured upwards from the
// tip, u(x) = w·cosh λx + Qt/(AE·λ)·sinh λx and N(x) = AE·λ·w·sinh λx +
// Qt·cosh λx. The walk must approach these values at the head as the
// increments get shorter.
TEST(TipMovementSolution, ApproachesTheCompressiblePileOnUniformSprings) {
  const double k = 100, kb = 1.0E+05, AE = 4.0E+08, L = 480, D = 12, w = 0.1;
  const double c = k * 3.1416 * D, lambda = std::sqrt(c / AE);
  const double Qt = kb * w;
  const double headMove = w * std::cosh(lambda * L) + Qt / (AE * lambda) * std::sinh(lambda * L);
  const double headLoad = AE * lambda * w * std::sinh(lambda * L) + Qt * std::cosh(lambda * L);

  double previousError = 1;
  for (const Int ninc : {10, 40, 160, 500}) {
    PileDefinition pile;
    pile.ninc = ninc;
    pile.tol = 1E-9f;
    pile.tz = {{10, static_cast<Real>(10 * k)}};
    pile.tip = {{10, static_cast<Real>(10 * kb)}};
    auto ctx = MakePile(pile);
    SetTipMovements(ctx->in, {static_cast<Real>(w)});
    SolveAllTipMovements(*ctx);
    const double loadError = std::fabs(ctx->res.HEADLOAD[1] - headLoad) / headLoad;
    const double moveError = std::fabs(ctx->res.HEADMV[1] - headMove) / headMove;
    const double error = std::max(loadError, moveError);
    EXPECT_LT(error, previousError) << ninc << " increments";
    previousError = error;
  }
  EXPECT_LT(previousError, 1E-5);
}

TEST(TipMovementSolution, ZeroMovementIsUpliftAndGivesNothing) {
  auto ctx = MakePile(PileDefinition{});
  SetTipMovements(ctx->in, {0, 0.1f});
  SolveAllTipMovements(*ctx);
  EXPECT_EQ(ctx->res.UPFLAG[1], 1);
  EXPECT_EQ(ctx->res.HEADLOAD[1], 0);
  EXPECT_EQ(ctx->res.HEADMV[1], 0);
  EXPECT_EQ(ctx->res.TIPLOAD[1], 0);
  EXPECT_FALSE(std::signbit(ctx->res.HEADLOAD[1]));  // printed as 0, not -0
  EXPECT_EQ(ctx->res.UPFLAG[2], 0);
  EXPECT_GT(ctx->res.HEADLOAD[2], ctx->res.TIPLOAD[2]);
}

TEST(TipMovementSolution, UpliftResultsAreSignedAfterTheSeries) {
  auto ctx = MakePile(PileDefinition{});
  SetTipMovements(ctx->in, {-0.1f, 0.1f});
  SolveAllTipMovements(*ctx);
  // Uplift rows carry no tip load and negative head load and movement.
  EXPECT_EQ(ctx->res.UPFLAG[1], 1);
  EXPECT_LT(ctx->res.HEADLOAD[1], 0);
  EXPECT_LT(ctx->res.HEADMV[1], -0.1f);
  EXPECT_EQ(ctx->res.TIPLOAD[1], 0);
  EXPECT_GT(ctx->res.HEADLOAD[2], 0);
  EXPECT_EQ(ctx->in.TIPMV[1], -0.1f);  // the movement itself is never reversed
}

TEST(PileWalk, DownDragReversesTheLoadTransferWhereTheSoilSettlesMore) {
  PileDefinition pile;
  pile.ninc = 48;
  auto ctx = MakePile(pile);
  InputData& in = ctx->in;
  in.NSET = 2;
  in.SETX[1] = 0;
  in.SETV[1] = 1;
  in.SETX[2] = 240;
  in.SETV[2] = 0;
  PileWalker walker(in);
  const WalkResult walk = walker.Walk(0.01f);
  int dragged = 0;
  for (const IncrementState& s : walker.Increments()) {
    const Real settlement = SettlementAt(in, s.midDepth);
    if (settlement > s.midMove + 1E-3f) {
      ++dragged;
      EXPECT_LT(s.loadTransfer, 0) << s.midDepth;
      EXPECT_LT(s.bottomLoad + s.loadIncrement, s.bottomLoad);  // load grows with depth
    } else if (s.midDepth > 240) {
      EXPECT_GT(s.loadTransfer, 0) << s.midDepth;
    }
  }
  EXPECT_GT(dragged, 10);
  EXPECT_LT(walk.headLoad, walker.Increments()[23].bottomLoad);
}

TEST(PileWalk, UniformSettlementDragsCompressionButNeverUplift) {
  auto ctx = MakePile(PileDefinition{});
  InputData& in = ctx->in;
  in.NSET = 2;
  in.SETX[1] = -100;
  in.SETV[1] = 0.5f;
  in.SETX[2] = 1000;
  in.SETV[2] = 0.5f;
  PileWalker walker(in);
  walker.Walk(0.1f);
  for (const IncrementState& s : walker.Increments()) {
    ASSERT_LT(s.midMove, 0.5f);
    // Read at 0.5 minus the pile movement, reversed.
    const Real expected = -TzValueAtDepth(in.tz, s.midDepth, 0.5f - s.midMove);
    EXPECT_NEAR(s.loadTransfer, expected, 1E-3f);
    EXPECT_LT(s.loadTransfer, 0);
  }
  walker.Walk(-0.1f);
  for (const IncrementState& s : walker.Increments()) EXPECT_GT(s.loadTransfer, 0);
}

TEST(PileWalk, IncrementsReadTheCurvesExactlyAsTzValueAtDepth) {
  struct Case {
    const char* name;
    Int ninc;
    Real length, head;
    bool curvePerIncrement;  // at HEAD + (k - 0.5) PLEN / NINC, else three coarse curves
    bool downDrag;
  };
  const Case cases[] = {
      {"one curve per increment", 7, 100.3f, -3.7f, true, false},
      {"coarse curves", 13, 480, 0, false, false},
      {"down-drag", 9, 250.7f, 1.3f, true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PileDefinition pile;
    pile.ninc = c.ninc;
    pile.length = c.length;
    pile.head = c.head;
    pile.tol = 1E30f;  // one evaluation: the curves are read at the bottom movement
    auto ctx = MakePile(pile);
    InputData& in = ctx->in;
    const Real ninc = static_cast<Real>(c.ninc);
    if (c.curvePerIncrement) {
      for (Int k = 1; k <= c.ninc; ++k) {
        const Real depth = c.head + (static_cast<Real>(k) - 0.5f) * c.length / ninc;
        const Real scale = static_cast<Real>(k);
        testing::SetTzCurve(in.tz, k, depth, {{0.01f * scale, 2 * scale}, {0.2f, 3 * scale + 1}});
      }
    } else {
      testing::SetTzCurve(in.tz, 1, c.head, {{0.05f, 4}, {0.3f, 5}});
      testing::SetTzCurve(in.tz, 2, c.head + 200, {{0.02f, 9}, {0.1f, 7}});
      testing::SetTzCurve(in.tz, 3, c.head + c.length - 30, {{0.1f, 2}});
    }
    if (c.downDrag) {
      in.NSET = 2;
      in.SETX[1] = c.head - 10;
      in.SETV[1] = 0.3f;
      in.SETX[2] = c.head + c.length + 10;
      in.SETV[2] = 0;
    }
    PileWalker walker(in);
    for (const Real w : {0.02f, 0.15f, -0.05f}) {
      const WalkResult walk = walker.Walk(w);
      Int m = 0;
      for (const IncrementState& s : walker.Increments()) {
        ++m;
        EXPECT_EQ(s.midDepth, in.PLEN + in.HEAD - (static_cast<Real>(m) - 0.5f) * (in.PLEN / ninc));
        Real relative = s.bottomMove;
        if (c.downDrag) {
          const Real settlement = SettlementAt(in, s.midDepth);
          relative = walk.uplift ? settlement + s.bottomMove : s.bottomMove - settlement;
        }
        Real expected = TzValueAtDepth(in.tz, s.midDepth, std::fabs(relative));
        if (c.downDrag && relative < 1E-8f) expected = -expected;
        EXPECT_EQ(s.loadTransfer, expected) << "w " << w << ", increment " << m;
      }
    }
  }
}

TEST(PileWalk, AnIncrementThatNeverSettlesKeepsItsHundredthEvaluation) {
  // Full load transfer at the tip's movement and none from 1.1 on: the
  // estimate alternates between 1 (t = 10) and about 1.39 (t = 0), so the
  // hundredth evaluation, the one kept, reads t = 0; the 99th or the 101st
  // would carry the full load transfer.
  for (const Real tol : {0.0f, 1E-6f}) {
    PileDefinition pile;
    pile.ninc = 1;
    pile.length = 100;
    pile.diameter = 10;
    pile.stiffness = 1E6f;
    pile.tol = tol;
    pile.tz = {{1, 10}, {1.1f, 0}};
    pile.tip = {{1, 0}};
    auto ctx = MakePile(pile);
    PileWalker walker(ctx->in);
    const WalkResult walk = walker.Walk(1);
    const IncrementState& s = walker.Increments()[0];
    EXPECT_EQ(s.loadTransfer, 0) << tol;
    EXPECT_EQ(s.loadIncrement, 0) << tol;
    EXPECT_EQ(s.midMove, 1) << tol;
    EXPECT_EQ(walk.headLoad, 0) << tol;
    EXPECT_EQ(walk.headMove, 1) << tol;
  }
}

TEST(PileWalk, ZeroToleranceStillFinishes) {
  PileDefinition pile;
  pile.tol = 0;
  auto ctx = MakePile(pile);
  PileWalker walker(ctx->in);
  const WalkResult zero = walker.Walk(0.05f);
  pile.tol = 1E-7f;
  auto reference = MakePile(pile);
  PileWalker referenceWalker(reference->in);
  const WalkResult converged = referenceWalker.Walk(0.05f);
  EXPECT_TRUE(std::isfinite(zero.headLoad));
  EXPECT_NEAR(zero.headLoad, converged.headLoad, 1E-4f * converged.headLoad);
  EXPECT_NEAR(zero.headMove, converged.headMove, 1E-4f * converged.headMove);
}

TEST(TipMovementSolution, RejectsAPileThatCannotBeWalked) {
  struct Case {
    Int ninc;
    Real stiffness;
  } cases[] = {{0, 4.0E+08f}, {-5, 4.0E+08f}, {501, 4.0E+08f}, {20, 0}, {20, -1}, {20, NAN}};
  for (const Case& c : cases) {
    PileDefinition pile;
    pile.ninc = c.ninc;
    pile.stiffness = c.stiffness;
    auto ctx = MakePile(pile);
    SetTipMovements(ctx->in, {0.1f});
    ctx->in.NLOAD = 1;
    ctx->in.PLOAD[1] = 100;
    SolveAllTipMovements(*ctx);
    EXPECT_EQ(ctx->result, kProjectDataError) << c.ninc << " " << c.stiffness;
    SolveAllHeadLoads(*ctx);  // must not walk either
    EXPECT_EQ(ctx->res.HEADLOAD[1], 0);
  }
}

TEST(Modifications, ScaleTheStoredCurves) {
  auto ctx = MakePile(PileDefinition{});
  InputData& in = ctx->in;
  testing::SetTzCurve(in.tz, 1, 0, {{0.08f, 5}, {0.5f, 4}});
  testing::SetTzCurve(in.tz, 2, 480, {{0.08f, 5}, {0.5f, 4}});
  in.KMODTZ = 1;
  in.NMOD = 2;
  in.MODX[1] = -10;
  in.MODX[2] = 500;
  in.MODT[1] = in.MODT[2] = 0.5f;
  in.MODZ[1] = in.MODZ[2] = 2;
  ApplyTzModification(*ctx);
  for (Int k = 1; k <= 2; ++k) {
    EXPECT_FLOAT_EQ(in.tz.Z[k][1], 0.16f);
    EXPECT_FLOAT_EQ(in.tz.T[k][1], 2.5f);
    EXPECT_FLOAT_EQ(in.tz.Z[k][2], 1);
    EXPECT_FLOAT_EQ(in.tz.T[k][2], 2);
  }
}

TEST(Modifications, TablesThatChangeNothing) {
  struct Case {
    const char* name;
    Int kmod, nmod;
    Real top;
  } cases[] = {
      {"switched off", 0, 2, -10}, {"single row", 1, 1, -10}, {"below the pile", 1, 2, 600}};
  for (const Case& c : cases) {
    auto ctx = MakePile(PileDefinition{});
    InputData& in = ctx->in;
    in.KMODTZ = c.kmod;
    in.NMOD = c.nmod;
    in.MODX[1] = c.top;
    in.MODX[2] = c.top + 100;
    in.MODT[1] = in.MODT[2] = in.MODZ[1] = in.MODZ[2] = 3;
    const TzCurveStore before = in.tz;
    ApplyTzModification(*ctx);
    EXPECT_EQ(in.tz.T[1], before.T[1]) << c.name;
    EXPECT_EQ(in.tz.Z[1], before.Z[1]) << c.name;
  }
}

TEST(Modifications, TipCurveMultipliers) {
  auto ctx = MakePile(PileDefinition{});
  InputData& in = ctx->in;
  in.QMULT = 1.2f;
  in.WMULT = 1;
  const Real before = TipLoadAt(in, 0.1f);
  ApplyQwModification(*ctx);  // KMODQW = 0: not applied
  EXPECT_EQ(TipLoadAt(in, 0.1f), before);
  in.KMODQW = 1;
  ApplyQwModification(*ctx);
  EXPECT_FLOAT_EQ(in.QTIP[1], 2400);
  EXPECT_FLOAT_EQ(in.WTIP[1], 0.2f);
  EXPECT_FLOAT_EQ(TipLoadAt(in, 0.1f), 1.2f * before);
  in.WMULT = 2;
  ApplyQwModification(*ctx);
  EXPECT_FLOAT_EQ(in.WTIP[2], 2);
}

}  // namespace
}  // namespace korvan
