#include "engine/tz_curves.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "engine/curves.h"
#include "engine/record_reader.h"
#include "engine/tz_shapes.h"
#include "soil_profile_builder.h"
#include "support/curve_compare.h"
#include "test_support.h"

namespace korvan {
namespace {

using testing::AddLayer;
using testing::SoilRow;

using Points = std::array<Real, kGeneratedCurvePoints>;

void ExpectPoints(const CurvePoints& got, const Points& z, const Points& t, Real tolerance) {
  const testing::TTolerance within{.absolute = tolerance};
  testing::ExpectCurveNear(
      "z", kGeneratedCurvePoints, [&](int j) { return got.z[j]; }, [&](int j) { return z[j]; },
      within);
  testing::ExpectCurveNear(
      "t", kGeneratedCurvePoints, [&](int j) { return got.t[j]; }, [&](int j) { return t[j]; },
      within);
}

void ExpectStoredCurve(const TzCurveStore& tz, Int k, const Points& z, const Points& t,
                       Real tolerance) {
  ASSERT_EQ(tz.NPTZ[k], kGeneratedCurvePoints);
  EXPECT_EQ(tz.CRVNO[k], k);
  const testing::TTolerance within{.absolute = tolerance};
  const std::string curve = "curve " + std::to_string(k);
  testing::ExpectCurveNear(
      "z of " + curve, kGeneratedCurvePoints, [&](int j) { return tz.Z[k][j + 1]; },
      [&](int j) { return z[j]; }, within);
  testing::ExpectCurveNear(
      "t of " + curve, kGeneratedCurvePoints, [&](int j) { return tz.T[k][j + 1]; },
      [&](int j) { return t[j]; }, within);
}

constexpr Points kDrivenMovementsInches = {0,     0.01f, 0.02f, 0.04f, 0.06f,
                                           0.08f, 0.12f, 0.16f, 0.5f,  10};

TEST(ReportSet, FiveCurvesPerLayerOfTheLayersType) {
  InputData in;
  AddLayer(in, 1, 0, 10, SoilRow{.uside = 5});
  AddLayer(in, 6, 10, 30, SoilRow{.uside = 5});
  const CurveSites sites = ReportSetSites(in);
  const std::vector<Real> depths = {0, 2.5f, 5, 7.495f, 9.99f, 10, 15, 20, 24.995f, 29.99f};
  ASSERT_EQ(sites.depths.size(), depths.size());
  for (std::size_t k = 0; k < depths.size(); ++k) {
    EXPECT_NEAR(sites.depths[k], depths[k], 1e-5f) << k;
    EXPECT_EQ(sites.types[k], k < 5 ? 1 : 6) << k;
  }
}

TEST(ReportSet, ThreeQuarterDepthIsTheMiddlePlusTheBottomLessTheOffset) {
  struct Case {
    Real top, bottom;
  };
  // Layers where (m + XBOT - 0.01) / 2, summed left to right, and
  // (m + (XBOT - 0.01)) / 2 are different floats.
  for (const Case c : {Case{10, 20}, Case{12.5f, 37.3f}, Case{0, 3.048f}}) {
    InputData in;
    AddLayer(in, 1, c.top, c.bottom, SoilRow{});
    const Real middle = (c.top + c.bottom) / 2;
    const Real expected = (middle + c.bottom - 0.01f) / 2;
    ASSERT_NE(expected, (middle + (c.bottom - 0.01f)) / 2) << c.top << " " << c.bottom;
    const CurveSites sites = ReportSetSites(in);
    ASSERT_EQ(sites.depths.size(), 5u);
    EXPECT_EQ(sites.depths[3], expected) << c.top << " " << c.bottom;
    EXPECT_EQ(sites.depths[4], c.bottom - 0.01f);
  }
}

TEST(ReportSet, OneClayLayerGivesTheCoyleReeseCurveEverywhere) {
  RunContext ctx;
  ctx.in.NUNIT = 1;
  AddLayer(ctx.in, 1, 0, 10, SoilRow{.uside = 5});
  GenerateTzCurves(ctx, ReportSetSites(ctx.in));
  ASSERT_EQ(ctx.result, kRunCompleted);
  ASSERT_EQ(ctx.in.tz.NTZ, 5);
  const Points t = {0, 0.9f, 1.9f, 3.95f, 4.85f, 5, 4.85f, 4.65f, 4.65f, 4.65f};
  for (Int k = 1; k <= 5; ++k) {
    ExpectStoredCurve(ctx.in.tz, k, kDrivenMovementsInches, t, 1e-5f);
    EXPECT_EQ(ctx.in.tz.TMAXTZ[k], 5);
    EXPECT_EQ(ctx.in.tz.KTZ[k], 1);
  }
}

TEST(AnalysisSet, CurvesLieAtTheIncrementMidDepths) {
  struct Case {
    Real head;
    std::vector<Real> firstDepths;
  };
  const Case cases[] = {{0, {5, 15, 25}}, {-5, {0, 10, 20}}, {-12, {-7, 3, 13}}};
  for (const auto& c : cases) {
    RunContext ctx;
    ctx.in.NUNIT = 1;
    AddLayer(ctx.in, 1, 0, 200, SoilRow{.uside = 4});
    ctx.in.PLEN = 100;
    ctx.in.NINC = 10;
    ctx.in.HEAD = c.head;
    GenerateTzCurves(ctx, AnalysisSetSites(ctx.in));
    ASSERT_EQ(ctx.result, kRunCompleted);
    ASSERT_EQ(ctx.in.tz.NTZ, 10);
    for (std::size_t k = 0; k < c.firstDepths.size(); ++k) {
      EXPECT_NEAR(ctx.in.tz.XTZ[k + 1], c.firstDepths[k], 1e-4f) << "HEAD " << c.head;
    }
    EXPECT_NEAR(ctx.in.tz.XTZ[10], c.head + 95, 1e-4f);
    // A curve above the ground carries nothing; one at the ground is generated.
    const Real expectedTmax = c.firstDepths[0] < 0 ? 0 : 4;
    EXPECT_EQ(ctx.in.tz.TMAXTZ[1], expectedTmax) << "HEAD " << c.head;
    EXPECT_EQ(ctx.in.tz.T[1][6], expectedTmax);
    EXPECT_EQ(ctx.in.tz.NPTZ[1], 10);
  }
}

TEST(AnalysisSet, AboveTheGroundEveryTypeGetsTheZeroClayCurve) {
  for (Int type : {3, 4, 5}) {
    RunContext ctx;
    ctx.in.NUNIT = 1;
    ctx.in.DIAM = 36;
    AddLayer(ctx.in, type, 0, 200, SoilRow{.uside = 4});
    ctx.in.PLEN = 100;
    ctx.in.NINC = 10;
    ctx.in.HEAD = -12;
    GenerateTzCurves(ctx, AnalysisSetSites(ctx.in));
    ASSERT_EQ(ctx.result, kRunCompleted);
    ExpectStoredCurve(ctx.in.tz, 1, kDrivenMovementsInches, Points{}, 0);
    EXPECT_EQ(ctx.in.tz.Z[2][10], type == 5 ? 0.01f * 36 * 20 : 0.1f * 36) << type;
  }
}

TEST(AnalysisSet, BoundaryDepthTakesUpperTypeAndLowerProperties) {
  RunContext ctx;
  ctx.in.NUNIT = 1;
  ctx.in.DIAM = 12;
  AddLayer(ctx.in, 1, 0, 10, SoilRow{.uside = 2});
  AddLayer(ctx.in, 6, 10, 20, SoilRow{.uside = 8});
  ctx.in.tz.NTZ = 1;
  ctx.in.tz.XTZ[1] = 10;
  ctx.in.tz.KTZ[1] = AnalysisCurveType(ctx.in, 10);
  EXPECT_EQ(ctx.in.tz.KTZ[1], 1);
  GenerateTzCurve(ctx, 1);
  EXPECT_EQ(ctx.in.tz.TMAXTZ[1], 8);
  EXPECT_NEAR(ctx.in.tz.T[1][10], 0.93f * 8, 1e-5f);  // the clay shape of the upper layer
}

TEST(AnalysisSet, LayerTypeRule) {
  InputData in;
  AddLayer(in, 1, 0, 10, SoilRow{});
  AddLayer(in, 2, 10, 20, SoilRow{});
  AddLayer(in, 3, 20, 30, SoilRow{});
  struct Case {
    Real x;
    Int type;
  };
  // The first boundary belongs to the upper layer; the top of the last layer
  // already to the last layer, whose test comes before the scan.
  const Case cases[] = {{-5, 1},    {0, 1},  {10, 1}, {10.5f, 2},
                        {19.9f, 2}, {20, 3}, {25, 3}, {40, 3}};
  for (const auto& c : cases) EXPECT_EQ(AnalysisCurveType(in, c.x), c.type) << c.x;
}

TEST(CurveShapes, ExamplesOfEverySoilType) {
  struct Case {
    const char* name;
    CurvePoints got;
    Points z, t;
    Real tolerance;
  };
  const Case cases[] = {
      {"API clay, defaults",
       ApiClayShape(2, 0, 0, 24),
       {0, 0.0384f, 0.0744f, 0.1368f, 0.192f, 0.24f, 0.48f, 0.72f, 1.2f, 4.8f},
       {0, 0.6f, 1.0f, 1.5f, 1.8f, 2, 1.8f, 1.8f, 1.8f, 1.8f},
       1e-5f},
      {"API clay, given peak and residual",
       ApiClayShape(10, 0.5f, 0.7f, 24),
       {0, 0.08f, 0.155f, 0.285f, 0.4f, 0.5f, 1, 1.5f, 2.5f, 10},
       {0, 3, 5, 7.5f, 9, 10, 7, 7, 7, 7},
       1e-5f},
      {"API sand",
       ApiSandShape(10, 0, 36),
       {0, 0.0576f, 0.1116f, 0.2052f, 0.288f, 0.36f, 0.72f, 1.08f, 1.8f, 7.2f},
       {0, 3, 5, 7.5f, 9, 10, 10, 10, 10, 10},
       1e-5f},
      {"drilled shaft clay",
       DrilledShaftClayShape(100, 1),
       {0, 0.001f, 0.002f, 0.003f, 0.005f, 0.006f, 0.008f, 0.012f, 0.016f, 0.1f},
       {0, 51, 72, 90, 92.5f, 94.5f, 95.5f, 92.5f, 90, 83.5f},
       1e-4f},
      {"drilled shaft sand",
       DrilledShaftSandShape(10, 36),
       {0, 0.036f, 0.072f, 0.108f, 0.18f, 0.216f, 0.288f, 0.432f, 0.576f, 3.6f},
       {0, 3.35f, 5.8f, 7.2f, 8.6f, 9.1f, 9.5f, 9.65f, 9.6f, 9.5f},
       1e-5f},
      {"Coyle-Reese clay, SI",
       CoyleReeseClayShape(100, true),
       {0, 0.000254f, 0.000508f, 0.001016f, 0.001524f, 0.002032f, 0.003048f, 0.004064f, 0.0127f,
        0.254f},
       {0, 18, 38, 79, 97, 100, 97, 93, 93, 93},
       1e-5f},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ExpectPoints(c.got, c.z, c.t, c.tolerance);
  }
}

TEST(CurveShapes, MosherSandHyperbola) {
  // phi = 30 (E = 8666.6), tmax = 10 psi.
  const CurvePoints got = MosherSandShape(10, 30, false);
  struct Case {
    Int point;
    Real t;
  };
  for (const Case c :
       {Case{1, 0}, Case{2, 0.568f}, Case{6, 3.25f}, Case{9, 7.51f}, Case{10, 9.84f}}) {
    EXPECT_NEAR(got.z[c.point - 1], kDrivenMovementsInches[c.point - 1], 1e-7f);
    EXPECT_NEAR(got.t[c.point - 1], c.t, 0.005f) << "point " << c.point;
  }
  for (Int j = 1; j < kGeneratedCurvePoints; ++j) {
    EXPECT_GT(got.t[j], got.t[j - 1]);  // rising towards tmax, never above it
    EXPECT_LT(got.t[j], 10);
  }
}

TEST(CurveShapes, MosherStiffnessByFrictionAngle) {
  struct Case {
    Real phi, e;
  };
  const Case cases[] = {{0, 6000},      {28, 6000},     {30, 8666.6f},  {31, 9999.9f},
                        {31.5f, 10000}, {33, 12000},    {34, 14000},    {34.5f, 14000},
                        {36, 15333.3f}, {38, 17999.9f}, {38.1f, 18000}, {45, 18000}};
  for (const auto& c : cases) EXPECT_NEAR(MosherInitialStiffness(c.phi), c.e, 0.01f) << c.phi;
}

TEST(CurveShapes, MosherSiCurveIsTheEnglishCurveInOtherUnits) {
  // 100 kPa is 2088 psf, i.e. 14.5 psi; the SI curve must be the same curve.
  const Real tmaxKpa = 100;
  const Real tmaxPsi = tmaxKpa * 20.88f / 144;
  for (Real phi : {25.0f, 30.0f, 36.0f}) {
    const CurvePoints si = MosherSandShape(tmaxKpa, phi, true);
    const CurvePoints english = MosherSandShape(tmaxPsi, phi, false);
    for (Int j = 0; j < kGeneratedCurvePoints; ++j) {
      EXPECT_NEAR(si.z[j], english.z[j] * 0.0254f, 1e-7f);
      EXPECT_NEAR(si.t[j], english.t[j] * 144 / 20.88f, 1e-3f) << phi << " " << j;
    }
  }
}

TEST(CurveShapes, MosherWithNegativeSideFrictionMirrorsTheCurve) {
  const CurvePoints up = MosherSandShape(10, 30, false);
  const CurvePoints down = MosherSandShape(-10, 30, false);
  for (Int j = 0; j < kGeneratedCurvePoints; ++j) EXPECT_EQ(down.t[j], -up.t[j]);
}

TEST(GenerateTzCurve, NoSideFrictionGivesNoLoadTransferForEveryType) {
  for (Int type = 1; type <= 6; ++type) {
    RunContext ctx;
    ctx.in.NUNIT = 1;
    ctx.in.DIAM = 12;
    AddLayer(ctx.in, type, 0, 10,
             SoilRow{.c = 10, .phi = 35, .blow = 20, .zpeak = 0.1f, .tres = 0.8f, .uside = 0});
    GenerateTzCurves(ctx, ReportSetSites(ctx.in));
    ASSERT_EQ(ctx.result, kRunCompleted);
    for (Int k = 1; k <= ctx.in.tz.NTZ; ++k) {
      for (Int j = 1; j <= 10; ++j) EXPECT_EQ(ctx.in.tz.T[k][j], 0) << "type " << type;
    }
  }
}

TEST(GenerateTzCurve, SandWithoutFrictionAngleOrBlowCountHasPhiZero) {
  struct Case {
    Int type;
    Real phi, blow, expectedPhi;
  };
  const Case cases[] = {
      {2, 0, 0, 0},                                 // E = 6000
      {2, 0, 8, 37},                                // the blow-count fallback for sand
      {4, 0, 8, 37},  {6, 0, 8, 37}, {1, 0, 8, 0},  // clay keeps PHI1
      {2, 33, 8, 33},
  };
  for (const auto& c : cases) {
    RunContext ctx;
    ctx.in.NUNIT = 1;
    ctx.in.DIAM = 12;
    AddLayer(ctx.in, c.type, 0, 10, SoilRow{.phi = c.phi, .blow = c.blow, .uside = 10});
    GenerateTzCurves(ctx, ReportSetSites(ctx.in));
    ASSERT_EQ(ctx.result, kRunCompleted);
    EXPECT_NEAR(ctx.in.tz.PHITZ[3], c.expectedPhi, 1e-5f) << c.type << " " << c.blow;
  }
  RunContext zero;
  zero.in.NUNIT = 1;
  AddLayer(zero.in, 2, 0, 10, SoilRow{.uside = 10});
  GenerateTzCurves(zero, ReportSetSites(zero.in));
  // With E = 6000: t = 0.5 / (0.05 + 144 / 6000) at half an inch.
  EXPECT_NEAR(zero.in.tz.T[1][9], 0.5f / (0.05f + 0.024f), 1e-4f);
}

TEST(GenerateTzCurves, ShortProfileStopsWithCodeSixWhateverTheType) {
  for (Int type = 1; type <= 6; ++type) {
    struct Case {
      Int ninc;
      Int result;
      Int ntz;
    };
    for (const Case c : {Case{1, kRunCompleted, 1}, Case{21, kSideFrictionProfileShort, 21}}) {
      RunContext ctx;
      ctx.in.NUNIT = 1;
      ctx.in.DIAM = 12;
      AddLayer(ctx.in, type, 0, 10, SoilRow{.phi = 30, .uside = 3});
      ctx.in.PLEN = 10.5f;
      ctx.in.NINC = c.ninc;
      GenerateTzCurves(ctx, AnalysisSetSites(ctx.in));
      EXPECT_EQ(ctx.result, c.result) << "type " << type << ", NINC " << c.ninc;
      EXPECT_EQ(ctx.in.tz.NTZ, c.ntz);
      if (c.ninc == 1) {
        EXPECT_NEAR(ctx.in.tz.XTZ[1], 5.25f, 1e-6f);
      }
    }
  }
}

TEST(GenerateTzCurves, WarningOfTheLowestCurve) {
  RunContext ctx;
  ctx.in.NUNIT = 1;
  AddLayer(ctx.in, 2, 0, 10, SoilRow{.phi = 30, .uside = 3});
  ctx.in.PLEN = 10.5f;
  ctx.in.NINC = 21;
  ctx.report.OpenMemory();
  GenerateTzCurves(ctx, AnalysisSetSites(ctx.in));
  const auto lines = testing::SplitLines(ctx.report.Text());
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[3],
            "     THE VALUE OF X = 0.10E+02IS BEYOND THE EXTENT OF/     THE INPUT STRENGTH CURVE");
  // The curves above the failing one were built.
  EXPECT_EQ(ctx.in.tz.NPTZ[20], 10);
  EXPECT_EQ(ctx.in.tz.TMAXTZ[20], 3);
}

TEST(GenerateTzCurves, TooManyIncrementsOrUnknownTypesAreDataErrors) {
  RunContext ctx;
  AddLayer(ctx.in, 1, 0, 10, SoilRow{.uside = 3});
  ctx.in.PLEN = 10;
  ctx.in.NINC = kMaxTzCurves + 1;
  EXPECT_THROW(AnalysisSetSites(ctx.in), DataFileError);
  ctx.in.KSOIL[1] = 7;
  EXPECT_THROW(GenerateTzCurves(ctx, ReportSetSites(ctx.in)), DataFileError);
}

TEST(GenerateTzCurves, OverflowingDepthsOrPropertiesAreDataErrors) {
  // The mid-depths of a pile of 3E38 overflow past the first increment.
  RunContext depths;
  AddLayer(depths.in, 1, 0, 10, SoilRow{.uside = 3});
  depths.in.PLEN = 3e38f;
  depths.in.NINC = 4;
  EXPECT_THROW(GenerateTzCurves(depths, AnalysisSetSites(depths.in)), DataFileError);
  EXPECT_EQ(depths.result, kRunCompleted);
  // A peak movement of 1E38 gives movements beyond the float range.
  RunContext movements;
  AddLayer(movements.in, 5, 0, 10, SoilRow{.zpeak = 1e38f, .uside = 3});
  EXPECT_THROW(GenerateTzCurves(movements, ReportSetSites(movements.in)), DataFileError);
}

TEST(PrepareTzCurves, AnalysisSetReplacesTheReportSetAndKeepsPerCurveValues) {
  RunContext ctx;
  ctx.in.NUNIT = 1;
  ctx.in.METHODTZ = 1;
  AddLayer(ctx.in, 1, 0, 10, SoilRow{.phi = 0, .uside = 2});
  AddLayer(ctx.in, 2, 10, 40, SoilRow{.phi = 32, .uside = 4}, SoilRow{.phi = 36, .uside = 6});
  ctx.in.PLEN = 30;
  ctx.in.NINC = 3;
  PrepareTzCurves(ctx);
  ASSERT_EQ(ctx.result, kRunCompleted);
  const TzCurveStore& tz = ctx.in.tz;
  ASSERT_EQ(tz.NTZ, 3);
  const Real depths[] = {5, 15, 25};
  const Int types[] = {1, 2, 2};
  const Real tmax[] = {2, 4 + 2 * 5.0f / 30, 4 + 2 * 15.0f / 30};
  const Real phi[] = {0, 32 + 4 * 5.0f / 30, 32 + 4 * 15.0f / 30};
  for (Int k = 1; k <= 3; ++k) {
    EXPECT_NEAR(tz.XTZ[k], depths[k - 1], 1e-5f);
    EXPECT_EQ(tz.KTZ[k], types[k - 1]);
    EXPECT_NEAR(tz.TMAXTZ[k], tmax[k - 1], 1e-5f);
    EXPECT_NEAR(tz.PHITZ[k], phi[k - 1], 1e-5f);
  }
}

}  // namespace
}  // namespace korvan
