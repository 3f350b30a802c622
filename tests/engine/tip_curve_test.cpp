#include "engine/tip_curve.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "engine/curves.h"
#include "engine/record_reader.h"
#include "engine/tip_shapes.h"
#include "soil_profile_builder.h"
#include "support/curve_compare.h"
#include "test_support.h"

namespace korvan {
namespace {

using testing::AddLayer;
using testing::SoilRow;

using Points = std::array<Real, kGeneratedCurvePoints>;

void ExpectTipCurve(const InputData& in, const Points& w, const Points& q, Real tolerance) {
  ASSERT_EQ(in.NQW, kGeneratedCurvePoints);
  // Relative to values above 1, absolute below.
  const testing::TTolerance within{.absolute = tolerance, .relative = tolerance};
  testing::ExpectCurveNear(
      "w", kGeneratedCurvePoints, [&](int j) { return in.WTIP[j + 1]; },
      [&](int j) { return w[j]; }, within);
  testing::ExpectCurveNear(
      "Q", kGeneratedCurvePoints, [&](int j) { return in.QTIP[j + 1]; },
      [&](int j) { return q[j]; }, within);
}

// A pile of 12 in diameter and tip area 100 with its tip at 600 in, in a
// single layer from 0 to 1000 in.
RunContext& EnglishPile(RunContext& ctx, Int type, const SoilRow& row) {
  ctx.in.NUNIT = 1;
  ctx.in.DIAM = 12;
  ctx.in.TIPAREA = 100;
  ctx.in.PLEN = 600;
  AddLayer(ctx.in, type, 0, 1000, row);
  return ctx;
}

TEST(TipLayer, BoundaryBelongsToTheUpperLayer) {
  InputData in;
  AddLayer(in, 1, 0, 10, SoilRow{});
  AddLayer(in, 2, 10, 20, SoilRow{});
  struct Case {
    Real x;
    Int layer;
  };
  for (const Case c :
       {Case{-3, 1}, Case{5, 1}, Case{10, 1}, Case{10.01f, 2}, Case{20, 2}, Case{20.01f, 0}}) {
    EXPECT_EQ(TipLayer(in, c.x), c.layer) << c.x;
  }
  EXPECT_EQ(TipLayer(InputData{}, 0), 0);
}

TEST(TipCurve, DrivenPileInClay) {
  RunContext ctx;
  EnglishPile(ctx, 1, SoilRow{.c = 10, .e50 = 0.005f, .utip = 0});
  GenerateTipCurve(ctx);
  ASSERT_EQ(ctx.result, kRunCompleted);
  ExpectTipCurve(ctx.in, {0, 0.06f, 0.12f, 0.18f, 0.24f, 0.30f, 0.36f, 0.42f, 0.48f, 4.8f},
                 {0, 3182.0f, 4500, 5511.4f, 6364.0f, 7115.1f, 7794.2f, 8418.7f, 9000, 9000},
                 1e-4f);
}

TEST(TipCurve, DrivenPileInClaySiIsTheSameCurveInInchesAndKips) {
  // The English example in SI: 12 in = 0.3048 m, 90 psi tip resistance on
  // 100 sq in is 9000 lb = 9 kips = 40.032 kN.
  const CurvePoints si = CoyleReeseClayTipShape(40.032f, 0.005f, 0.3048f, true);
  const CurvePoints english = CoyleReeseClayTipShape(9, 0.005f, 12, false);
  for (Int j = 0; j < kGeneratedCurvePoints; ++j) {
    EXPECT_NEAR(si.z[j], english.z[j] * 0.0254f, 1e-6f) << j;
    EXPECT_NEAR(si.t[j], english.t[j] * 4.448f, 1e-3f) << j;
  }
}

TEST(TipCurve, DrivenPileInClayReachesQmaxAtQmaxOverASquared) {
  struct Case {
    Real qmax, eps50, diam;
    bool si;
  };
  // Cases where (Qmax / a)^2, in inches and kips, is not the float 4 w50.
  const Case cases[] = {
      {9000, 0.005f, 18, false},
      {9000, 0.02f, 36, false},
      {40.032f, 0.005f, 0.4572f, true},
      {40.032f, 0.005f, 1, true},
  };
  for (const Case& c : cases) {
    const CurvePoints got = CoyleReeseClayTipShape(c.qmax, c.eps50, c.diam, c.si);
    Real w50 = 2 * c.eps50 * c.diam;
    Real qmax = c.qmax;
    if (c.si) {
      w50 /= 0.0254f;
      qmax /= 4.448f;
    }
    const Real a = 0.5f * qmax / std::sqrt(w50);
    const Real wmax = (qmax / a) * (qmax / a);
    ASSERT_NE(wmax, 4 * w50) << c.qmax << " " << c.diam;
    const Real toData = c.si ? 0.0254f : 1;
    EXPECT_EQ(got.z[8], wmax * toData) << c.qmax << " " << c.diam;
    EXPECT_EQ(got.z[9], 10 * wmax * toData);
    EXPECT_EQ(got.z[4], wmax / 2 * toData);
    EXPECT_EQ(got.t[4], a * std::sqrt(wmax / 2) * (c.si ? 4.448f : 1));
  }
}

TEST(TipCurve, ClayWithoutStrainIsRigidPlastic) {
  for (Real eps50 : {0.0f, -0.01f}) {
    for (bool si : {false, true}) {
      const CurvePoints got = CoyleReeseClayTipShape(9000, eps50, 12, si);
      EXPECT_EQ(got.t[0], 0);
      for (Int j = 0; j < kGeneratedCurvePoints; ++j) {
        EXPECT_EQ(got.z[j], 0) << j;
        if (j > 0) {
          EXPECT_NEAR(got.t[j], 9000, 0.01f) << j;
        }
      }
    }
  }
  // No tip resistance at all stays a finite zero curve.
  const CurvePoints none = CoyleReeseClayTipShape(0, 0.005f, 12, false);
  for (Int j = 0; j < kGeneratedCurvePoints; ++j) EXPECT_EQ(none.t[j], 0);
}

TEST(TipCurve, DrilledShaftAndApiShapes) {
  struct Case {
    const char* name;
    CurvePoints got;
    Points w, q;
  };
  const Case cases[] = {
      {"drilled shaft clay",
       DrilledShaftClayTipShape(1000, 1),
       {0, 0.005f, 0.01f, 0.015f, 0.025f, 0.03f, 0.04f, 0.05f, 0.07f, 0.1f},
       {0, 395, 560, 700, 865, 900, 950, 970, 980, 990}},
      {"drilled shaft sand",
       DrilledShaftSandTipShape(1000, 2),
       {0, 0.01f, 0.02f, 0.03f, 0.05f, 0.06f, 0.08f, 0.1f, 0.14f, 0.2f},
       {0, 200, 345, 485, 640, 730, 830, 1015, 1195, 1460}},
      {"API",
       ApiTipShape(1000, 10),
       {0, 0.005f, 0.01f, 0.02f, 0.13f, 0.42f, 0.73f, 1, 1.5f, 2},
       {0, 62.5f, 125, 250, 500, 750, 900, 1000, 1000, 1000}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    for (Int j = 0; j < kGeneratedCurvePoints; ++j) {
      EXPECT_NEAR(c.got.z[j], c.w[j], 1e-6f);
      EXPECT_NEAR(c.got.t[j], c.q[j], 1e-3f);
    }
  }
}

TEST(TipCurve, ClayTipResistanceFallsBackOnNineTimesTheStrength) {
  struct Case {
    Int type;
    Real utip, expectedQmax;
  };
  const Case cases[] = {
      {5, 1e-6f, 9 * 10 * 100}, {5, 2e-5f, 2e-5f * 100},  {5, 50, 50 * 100},
      {3, 0, 9 * 10 * 100},     {1, 1e-5f, 9 * 10 * 100}, {1, 30, 30 * 100},
  };
  for (const auto& c : cases) {
    RunContext ctx;
    EnglishPile(ctx, c.type, SoilRow{.c = 10, .e50 = 0.01f, .utip = c.utip});
    GenerateTipCurve(ctx);
    ASSERT_EQ(ctx.result, kRunCompleted);
    EXPECT_NEAR(ctx.in.QTIP[10] / (c.type == 3 ? Real{0.99f} : Real{1}), c.expectedQmax,
                c.expectedQmax * 1e-5f)
        << "type " << c.type << ", UTIP " << c.utip;
  }
}

TEST(TipCurve, BearingCapacityFactor) {
  struct Case {
    Real phi, nq, tolerance;
  };
  for (const Case c : {Case{35, 33.30f, 0.01f}, Case{0, 1, 1e-4f}, Case{30, 18.40f, 0.01f}}) {
    EXPECT_NEAR(BearingCapacityFactorNq(c.phi), c.nq, c.tolerance) << c.phi;
  }
}

TEST(TipCurve, SandTipResistanceFromBearingCapacity) {
  // phi 35, unit weight 0.07, tip at 600: q = 0.07 * 600 * 33.30 = 1398.5 psi.
  RunContext ctx;
  EnglishPile(ctx, 6, SoilRow{.gam = 0.07f, .phi = 35});
  GenerateTipCurve(ctx);
  ASSERT_EQ(ctx.result, kRunCompleted);
  EXPECT_NEAR(ctx.in.QTIP[10], 1398.5f * 100, 0.1f * 100);
  // Without friction angle and blow count: phi = 0, Nq = 1, q = 0.07 * 600.
  RunContext bare;
  EnglishPile(bare, 6, SoilRow{.gam = 0.07f});
  GenerateTipCurve(bare);
  EXPECT_NEAR(bare.in.QTIP[10], 0.07f * 600 * 100, 0.1f);  // Nq(0) = 1 with pi = 3.1416
  // A given tip resistance wins; the blow count stands in for the angle.
  RunContext given;
  EnglishPile(given, 6, SoilRow{.gam = 0.07f, .utip = 500});
  GenerateTipCurve(given);
  EXPECT_NEAR(given.in.QTIP[10], 500 * 100, 0.01f);
  RunContext blows;
  EnglishPile(blows, 6, SoilRow{.gam = 0.07f, .blow = 8});
  GenerateTipCurve(blows);
  EXPECT_NEAR(blows.in.QTIP[10], 0.07f * 600 * BearingCapacityFactorNq(37) * 100, 1);
}

TEST(TipCurve, DrivenPileInSandExponentFromTheDeepestTzCurve) {
  struct Case {
    Int methodTz;
    Real phiE;
    Real atHalfInch, atOneInch;
  };
  const Case cases[] = {
      {1, 35, 0.941f, 1.185f},
      {1, 30, 0.913f, 1.291f},
      {1, 40, 0.955f, 1.136f},
      {2, 40, 0.913f, 1.291f},  // user t-z curves carry no friction angle
  };
  for (const auto& c : cases) {
    RunContext ctx;
    EnglishPile(ctx, 2, SoilRow{.utip = 10});  // Qmax = 1000
    ctx.in.METHODTZ = c.methodTz;
    ctx.in.tz.NTZ = 4;
    ctx.in.tz.PHITZ[4] = c.phiE;
    GenerateTipCurve(ctx);
    ASSERT_EQ(ctx.result, kRunCompleted);
    EXPECT_NEAR(ctx.in.WTIP[8], 0.5f, 1e-6f);
    EXPECT_NEAR(ctx.in.QTIP[8] / 1000, c.atHalfInch, 1e-3f) << c.phiE;
    EXPECT_NEAR(ctx.in.QTIP[10] / 1000, c.atOneInch, 1e-3f) << c.phiE;
    EXPECT_EQ(ctx.in.WTIP[1], 0);
    EXPECT_EQ(ctx.in.QTIP[1], 0);
  }
}

TEST(TipCurve, DrivenPileInSandSiMovementsAreTheInchSeriesInMetres) {
  const CurvePoints si = MosherSandTipShape(4.448f * 1000, 35, 12 * 0.0254f, true);
  const CurvePoints english = MosherSandTipShape(1000, 35, 12, false);
  EXPECT_NEAR(si.z[1], 0.00000254f, 1e-11f);
  for (Int j = 0; j < kGeneratedCurvePoints; ++j) {
    EXPECT_NEAR(si.z[j], english.z[j] * 0.0254f, 1e-7f);
    EXPECT_NEAR(si.t[j], english.t[j] * 4.448f, 0.01f);
  }
}

TEST(TipCurve, BoundaryBetweenClayAndSandGetsTheClayShape) {
  RunContext ctx;
  ctx.in.NUNIT = 1;
  ctx.in.DIAM = 10;
  ctx.in.TIPAREA = 1;
  ctx.in.PLEN = 100;
  AddLayer(ctx.in, 5, 0, 100, SoilRow{.c = 10, .utip = 0});
  AddLayer(ctx.in, 6, 100, 200, SoilRow{.gam = 0.07f, .phi = 35, .utip = 1000});
  GenerateTipCurve(ctx);
  ASSERT_EQ(ctx.result, kRunCompleted);
  // The API shape, with the lower layer's tip resistance (the properties of a
  // boundary are those of the layer below).
  EXPECT_NEAR(ctx.in.WTIP[10], 0.2f * 10, 1e-6f);
  EXPECT_NEAR(ctx.in.QTIP[5], 0.5f * 1000, 1e-3f);
}

TEST(TipCurve, TipBelowEveryLayerStopsWithCodeFive) {
  RunContext ctx;
  EnglishPile(ctx, 1, SoilRow{.c = 10, .e50 = 0.005f});
  ctx.in.PLEN = 1250;
  ctx.report.OpenMemory();
  GenerateTipCurve(ctx);
  EXPECT_EQ(ctx.result, kStrengthProfileShort);
  EXPECT_EQ(ctx.in.NQW, 0);
  const auto lines = testing::SplitLines(ctx.report.Text());
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[2],
            "     THE VALUE OF X = 0.13E+04IS BEYOND THE EXTENT OF/     THE INPUT STRENGTH CURVE");

  RunContext none;
  none.in.PLEN = 10;
  GenerateTipCurve(none);
  EXPECT_EQ(none.result, kStrengthProfileShort);
}

TEST(TipCurve, ProfileShorterThanTheTipLayerSetsTheFirstLookupsCode) {
  struct Case {
    Int type;
    Int result;
  };
  // The property rows end at 500 while the layer runs to 1000.
  for (const Case c : {Case{1, kStrengthProfileShort}, Case{3, kStrengthProfileShort},
                       Case{5, kStrengthProfileShort}, Case{2, kStrengthTypeProfileShort},
                       Case{4, kStrengthTypeProfileShort}, Case{6, kStrengthTypeProfileShort}}) {
    RunContext ctx;
    EnglishPile(ctx, c.type, SoilRow{.gam = 0.07f, .c = 10, .phi = 30, .e50 = 0.01f});
    ctx.in.XSTR[2] = 500;
    ctx.in.XG1[2] = 500;
    GenerateTipCurve(ctx);
    EXPECT_EQ(ctx.result, c.result) << "type " << c.type;
    EXPECT_EQ(ctx.in.NQW, 0);
  }
  // A unit-weight profile short of the tip: code 4.
  RunContext ctx;
  EnglishPile(ctx, 6, SoilRow{.gam = 0.07f, .phi = 30});
  ctx.in.XG1[2] = 500;
  GenerateTipCurve(ctx);
  EXPECT_EQ(ctx.result, kUnitWeightProfileShort);
}

TEST(TipCurve, DataGivingNoFiniteCurveIsADataError) {
  // A friction angle near 90 degrees overflows the bearing capacity factor;
  // no diameter leaves the power curve without a reference movement.
  RunContext steep;
  EnglishPile(steep, 6, SoilRow{.gam = 0.07f, .phi = 89});
  EXPECT_THROW(GenerateTipCurve(steep), DataFileError);
  RunContext noDiameter;
  EnglishPile(noDiameter, 2, SoilRow{.utip = 10});
  noDiameter.in.DIAM = 0;
  EXPECT_THROW(GenerateTipCurve(noDiameter), DataFileError);
}

}  // namespace
}  // namespace korvan
