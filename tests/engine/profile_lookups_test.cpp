#include "engine/profile_lookups.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>

#include "soil_profile_builder.h"
#include "test_support.h"

namespace korvan {
namespace {

using testing::AddLayer;
using testing::AddRow;
using testing::SoilRow;

constexpr const char* kWarningTitle = "                             **** WARNING ****";

std::string WarningLine(const std::string& x, const std::string& tail) {
  return "     THE VALUE OF X =" + x + "IS BEYOND THE EXTENT OF/     " + tail;
}

// Layers 0-10 and 10-20 with unit side friction 1, 2 and 5, 6.
std::unique_ptr<RunContext> TwoLayerContext() {
  auto ctx = std::make_unique<RunContext>();
  AddLayer(ctx->in, 1, 0, 10, SoilRow{.uside = 1}, SoilRow{.uside = 2});
  AddLayer(ctx->in, 1, 10, 20, SoilRow{.uside = 5}, SoilRow{.uside = 6});
  return ctx;
}

struct DepthCase {
  Real x;
  Real expected;
};

TEST(ProfileValue, InterpolatesWithBoundaryAndEndRules) {
  const DepthCase cases[] = {
      {10, 5},     // a boundary takes the lower layer's top row
      {5, 1.5f},   // inside the first layer
      {20, 6},     // the deepest row is still inside
      {15, 5.5f},  // inside the second layer
      {-5, 0.5f},  // above the first row: extrapolated from rows 1 and 2
      {9.99f, 1.999f},
  };
  for (const auto& c : cases) {
    auto ctx = TwoLayerContext();
    EXPECT_NEAR(ProfileValue(*ctx, ctx->in.USIDE, c.x, kSideFrictionProfileShort, "T"), c.expected,
                1e-5f)
        << "x = " << c.x;
    EXPECT_EQ(ctx->result, kRunCompleted);
  }
}

TEST(ProfileValue, BelowTheProfileWritesCountLineAndWarningForSideFriction) {
  auto ctx = TwoLayerContext();
  ctx->report.OpenMemory();
  EXPECT_EQ(
      ProfileValue(*ctx, ctx->in.USIDE, 25, kSideFrictionProfileShort, "THE INPUT STRENGTH CURVE"),
      0);
  EXPECT_EQ(ctx->result, kSideFrictionProfileShort);
  const auto lines = testing::SplitLines(ctx->report.Text());
  ASSERT_EQ(lines.size(), 4u);
  std::istringstream words(lines[0]);
  Int nstr = 0;
  Real deepest = 0;
  words >> nstr >> deepest;
  EXPECT_EQ(nstr, 4);
  EXPECT_EQ(deepest, 20);
  EXPECT_EQ(lines[1], "");
  EXPECT_EQ(lines[2], kWarningTitle);
  EXPECT_EQ(lines[3], WarningLine(" 0.25E+02", "THE INPUT STRENGTH CURVE"));
}

TEST(ProfileValue, OtherCodesWriteTheBlockAlone) {
  auto ctx = TwoLayerContext();
  ctx->report.OpenMemory();
  ProfileValue(*ctx, ctx->in.UTIP, 20.7f, kTipResistanceProfileShort,
               "THE INPUT MAX. LOAD TRANSFER");
  EXPECT_EQ(ctx->result, kTipResistanceProfileShort);
  const auto lines = testing::SplitLines(ctx->report.Text());
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0], "");
  EXPECT_EQ(lines[1], kWarningTitle);
  EXPECT_EQ(lines[2], WarningLine(" 0.21E+02", "THE INPUT MAX. LOAD TRANSFER"));
}

TEST(ProfileValue, RowsOfOneDepthGiveTheirMeanWhereNothingBrackets) {
  // A first layer of no thickness: a depth above it falls between two rows
  // at the same depth.
  RunContext ctx;
  AddLayer(ctx.in, 1, 5, 5, SoilRow{.uside = 1}, SoilRow{.uside = 3});
  AddLayer(ctx.in, 1, 5, 15, SoilRow{.uside = 10}, SoilRow{.uside = 20});
  EXPECT_EQ(ProfileValue(ctx, ctx.in.USIDE, 2, kSideFrictionProfileShort, "T"), 2);
  // A last layer of no thickness, looked up at its depth.
  RunContext last;
  AddLayer(last.in, 1, 0, 10, SoilRow{.uside = 1}, SoilRow{.uside = 2});
  AddLayer(last.in, 1, 10, 10, SoilRow{.uside = 4}, SoilRow{.uside = 8});
  EXPECT_EQ(ProfileValue(last, last.in.USIDE, 10, kSideFrictionProfileShort, "T"), 6);
  EXPECT_EQ(ctx.result + last.result, 0);
}

TEST(ProfileValue, OneRowIsConstantAndNoRowsReachNothing) {
  RunContext one;
  AddRow(one.in, 10, SoilRow{.uside = 7});
  EXPECT_EQ(ProfileValue(one, one.in.USIDE, 3, kSideFrictionProfileShort, "T"), 7);
  EXPECT_EQ(one.result, kRunCompleted);
  EXPECT_EQ(ProfileValue(one, one.in.USIDE, 11, kStrengthTypeProfileShort, "T"), 0);
  EXPECT_EQ(one.result, kStrengthTypeProfileShort);

  RunContext none;
  EXPECT_EQ(ProfileValue(none, none.in.USIDE, 0, kSideFrictionProfileShort, "T"), 0);
  EXPECT_EQ(none.result, kSideFrictionProfileShort);
}

struct BlowCountCase {
  Real n, p, expected;
};

TEST(PhiFromBlowCount, FollowsTheCorrelationRules) {
  const BlowCountCase cases[] = {
      {8, 0, 37},       // curve A between 6 and 10
      {8, 10, 34},      // A blended towards B
      {12, 30, 32.1f},  // B = 32.8, C = 31.4
      {70, 0, 48},      // 90 - C
      {95, 0, 50},
      {95, 30, 50},
      {30, 40, 36},  // curve C
      {1, 0, 16},    // curve A from the origin
      {20, 0, 45},
      {54, 0, 45},
      {55, 0, 51},
      {90, 0, 50},
      {4, 10, 32},      // A - P/20 (A - 30)
      {5, 30, 30},      // 20 < P < 40, N <= 6
      {8, 30, 31},      // 30 + 0.5 (N - 6)
      {60, 30, 42.5f},  // C + (40 - P)/20 (45 - C), C = 40
      // Combinations the correlation leaves open take the neighbouring
      // rule's limit.
      {5, 40, 31},   // C at N = 10
      {10, 50, 31},  // C at N = 10
      {90, 40, 44},  // C at N = 90
      {120, 45, 44},
      {90, 30, 50},  // N = 90 joins the rule above it, as for P <= 20
  };
  for (const auto& c : cases) {
    EXPECT_NEAR(PhiFromBlowCount(c.n, c.p), c.expected, 1e-4f) << "N = " << c.n << ", P = " << c.p;
  }
}

TEST(FrictionAngleAt, FallsBackOnTheBlowCountOnlyWithoutAFrictionAngle) {
  struct Case {
    Real phi, blow, expected;
  };
  const Case cases[] = {{33, 8, 33}, {0, 8, 37}, {0, 0, 0}, {0, 95, 50}, {-1, 8, 37}};
  for (const auto& c : cases) {
    RunContext ctx;
    AddLayer(ctx.in, 2, 0, 10, SoilRow{.phi = c.phi, .blow = c.blow});
    EXPECT_NEAR(FrictionAngleAt(ctx, 5), c.expected, 1e-5f) << c.phi << " " << c.blow;
    EXPECT_EQ(ctx.result, kRunCompleted);
  }
}

TEST(FrictionAngleAt, BelowTheProfileSetsCodeEight) {
  RunContext ctx;
  AddLayer(ctx.in, 2, 0, 10, SoilRow{.phi = 30});
  ctx.report.OpenMemory();
  EXPECT_EQ(FrictionAngleAt(ctx, 12), 0);
  EXPECT_EQ(ctx.result, kStrengthTypeProfileShort);
  const auto lines = testing::SplitLines(ctx.report.Text());
  ASSERT_EQ(lines.size(), 3u);  // one block, not a second from the blow count
  EXPECT_EQ(lines[2], WarningLine(" 0.12E+02", "THE INPUT STRENGTH CURVE"));
}

// Layers 0-10 with unit weight 100 and 10-20 with 120.
std::unique_ptr<RunContext> UnitWeightContext() {
  auto ctx = std::make_unique<RunContext>();
  AddLayer(ctx->in, 2, 0, 10, SoilRow{.gam = 100});
  AddLayer(ctx->in, 2, 10, 20, SoilRow{.gam = 120});
  return ctx;
}

TEST(MeanUnitWeight, AveragesOverTheDepthAboveX) {
  const DepthCase cases[] = {
      {15, 1600.0f / 15}, {20, 110}, {10, 100}, {5, 100}, {0, 100}, {-1, 0},
  };
  for (const auto& c : cases) {
    auto ctx = UnitWeightContext();
    EXPECT_NEAR(MeanUnitWeight(*ctx, c.x), c.expected, 1e-3f) << "x = " << c.x;
    EXPECT_EQ(ctx->result, kRunCompleted);
  }
}

TEST(MeanUnitWeight, AtTheTopTakesTheFirstPositiveUnitWeight) {
  RunContext ctx;
  AddLayer(ctx.in, 2, 0, 10, SoilRow{.gam = 0}, SoilRow{.gam = 90});
  AddLayer(ctx.in, 2, 10, 20, SoilRow{.gam = 120});
  EXPECT_EQ(MeanUnitWeight(ctx, 0), 90);
  RunContext none;
  AddLayer(none.in, 2, 0, 10, SoilRow{.gam = 0}, SoilRow{.gam = -1});
  EXPECT_EQ(MeanUnitWeight(none, 0), -1);  // the last row when none is positive
}

TEST(MeanUnitWeight, BelowTheProfileWritesTheUnitWeightWarning) {
  auto ctx = UnitWeightContext();
  ctx->report.OpenMemory();
  EXPECT_EQ(MeanUnitWeight(*ctx, 25), 0);
  EXPECT_EQ(ctx->result, kUnitWeightProfileShort);
  const auto lines = testing::SplitLines(ctx->report.Text());
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[1], kWarningTitle);
  EXPECT_EQ(lines[2], WarningLine(" 0.25E+02", "THE INPUT CURVE FOR UNIT WEIGHT"));
}

}  // namespace
}  // namespace korvan
