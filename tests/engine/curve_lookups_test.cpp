#include "engine/curve_lookups.h"

#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

namespace korvan {
namespace {

using Rows = std::vector<std::pair<Real, Real>>;

struct Case {
  Real at;
  Real expected;
};

// The input data is large; tests keep it on the heap.
std::unique_ptr<InputData> NewInput() {
  return std::make_unique<InputData>();
}

void SetCurve(TzCurveStore& tz, Int k, Real depth, const Rows& zt) {
  tz.XTZ[k] = depth;
  tz.NPTZ[k] = static_cast<Int>(zt.size());
  for (std::size_t j = 0; j < zt.size(); ++j) {
    tz.Z[k][j + 1] = zt[j].first;
    tz.T[k][j + 1] = zt[j].second;
  }
  tz.NTZ = std::max(tz.NTZ, k);
}

TEST(CurveValue, InterpolatesHoldsTheLastPointAndStartsFromTheOrigin) {
  auto in = NewInput();
  SetCurve(in->tz, 1, 0, {{0, 0}, {0.1f, 10}, {0.2f, 12}});
  SetCurve(in->tz, 2, 10, {{0.1f, 100}, {0.3f, 200}});
  SetCurve(in->tz, 3, 20, {{0.1f, 1}, {0.1f, 5}, {0.2f, 7}});
  const struct {
    Int curve;
    Real w;
    Real expected;
  } cases[] = {
      {1, 0.05f, 5},  {1, 0.2f, 12},  {1, 5, 12},
      {1, 0, 0},      {2, 0.05f, 50},                // below the first point: from the origin
      {2, 0.2f, 150}, {2, 1, 200},    {3, 0.1f, 1},  // of two points at one movement the first wins
      {3, 0.15f, 6},
  };
  for (const auto& c : cases) {
    const TzCurveStore& tz = in->tz;
    EXPECT_FLOAT_EQ(CurveValue(tz.Z[c.curve].data(), tz.T[c.curve].data(), tz.NPTZ[c.curve], c.w),
                    c.expected)
        << "curve " << c.curve << " at " << c.w;
  }
  EXPECT_EQ(CurveValue(in->tz.Z[1].data(), in->tz.T[1].data(), 0, 0.1f), 0);
}

TEST(TzValueAtDepth, InterpolatesBetweenCurvesAndHoldsTheEnds) {
  auto in = NewInput();
  SetCurve(in->tz, 1, 10, {{0.1f, 10}});
  SetCurve(in->tz, 2, 20, {{0.1f, 30}});
  SetCurve(in->tz, 3, 30, {{0.1f, 50}});
  const Case cases[] = {
      {5, 10},  // above the first curve: the first curve
      {10, 10},    {15, 20}, {20, 30},
      {27.5f, 45}, {30, 50}, {45, 50},  // below the deepest curve: the deepest curve
  };
  for (const Case& c : cases) {
    EXPECT_FLOAT_EQ(TzValueAtDepth(in->tz, c.at, 0.2f), c.expected) << "depth " << c.at;
  }
  EXPECT_FLOAT_EQ(TzValueAtDepth(in->tz, 15, 0.05f), 10);  // both curves read at 0.05
  in->tz.NTZ = 0;
  EXPECT_EQ(TzValueAtDepth(in->tz, 15, 0.05f), 0);
}

TEST(TipLoadAt, FromTheOriginAndHeldBeyondTheCurve) {
  auto in = NewInput();
  in->NQW = 3;
  in->QTIP = {0, 100, 150, 160};
  in->WTIP = {0, 0.1f, 0.3f, 1};
  const Case cases[] = {{0.05f, 50}, {0.1f, 100}, {0.2f, 125}, {1, 160}, {7, 160}};
  for (const Case& c : cases) EXPECT_FLOAT_EQ(TipLoadAt(*in, c.at), c.expected) << c.at;

  // A curve starting at the origin gives 0 at zero movement, not a division by zero.
  in->QTIP = {0, 0, 150, 160};
  in->WTIP = {0, 0, 0.3f, 1};
  EXPECT_EQ(TipLoadAt(*in, 0), 0);
  in->NQW = 0;
  EXPECT_EQ(TipLoadAt(*in, 0.5f), 0);
}

TEST(AxialStiffnessAt, AbruptChangesAndEnds) {
  auto in = NewInput();
  in->NAE = 4;
  const Rows rows = {{0, 1000}, {5, 1000}, {5, 500}, {10, 500}};
  for (Int k = 1; k <= 4; ++k) {
    in->XAE[k] = rows[k - 1].first;
    in->AEPILE[k] = rows[k - 1].second;
  }
  const Case cases[] = {{0, 1000}, {5, 1000}, {6, 500}, {10, 500}, {12, 500}};
  for (const Case& c : cases) EXPECT_FLOAT_EQ(AxialStiffnessAt(*in, c.at), c.expected) << c.at;

  in->NAE = 2;  // (0, 1000), (5, 1000)... made a taper
  in->AEPILE[2] = 2000;
  EXPECT_FLOAT_EQ(AxialStiffnessAt(*in, 2.5f), 1500);
  EXPECT_FLOAT_EQ(AxialStiffnessAt(*in, 9), 2000);  // held below the deepest row
  in->NAE = 1;
  EXPECT_FLOAT_EQ(AxialStiffnessAt(*in, 9), 1000);
}

TEST(SettlementAt, DuplicatesEndsAndSingleRow) {
  auto in = NewInput();
  const Rows rows = {{0, 1}, {10, 0.5f}, {10, 0.3f}, {20, 0}};
  in->NSET = 4;
  for (Int k = 1; k <= 4; ++k) {
    in->SETX[k] = rows[k - 1].first;
    in->SETV[k] = rows[k - 1].second;
  }
  const Case cases[] = {{10, 0.4f}, {15, 0.15f}, {21, 0}, {5, 0.75f}, {0, 1}, {20, 0}, {-1, 0}};
  for (const Case& c : cases) EXPECT_FLOAT_EQ(SettlementAt(*in, c.at), c.expected) << c.at;

  in->NSET = 1;
  in->SETX[1] = 10;
  in->SETV[1] = 0.7f;
  EXPECT_FLOAT_EQ(SettlementAt(*in, 10), 0.7f);
  EXPECT_EQ(SettlementAt(*in, 9), 0);
  EXPECT_EQ(SettlementAt(*in, 11), 0);
  in->NSET = 0;
  EXPECT_EQ(SettlementAt(*in, 10), 0);
}

TEST(MultipliersAt, SecondOfTwoRowsAtOneDepthAndNoEffectOutside) {
  auto in = NewInput();
  const Real rows[][3] = {{0, 2, 3}, {10, 1, 1}, {10, 0.5f, 0.5f}, {20, 0.5f, 0.5f}};
  in->NMOD = 4;
  for (Int k = 1; k <= 4; ++k) {
    in->MODX[k] = rows[k - 1][0];
    in->MODT[k] = rows[k - 1][1];
    in->MODZ[k] = rows[k - 1][2];
  }
  const struct {
    Real x, t, z;
  } cases[] = {{10, 0.5f, 0.5f}, {5, 1.5f, 2}, {25, 1, 1}, {-1, 1, 1}, {20, 0.5f, 0.5f}, {0, 2, 3}};
  for (const auto& c : cases) {
    const Multipliers m = MultipliersAt(*in, c.x);
    EXPECT_FLOAT_EQ(m.t, c.t) << c.x;
    EXPECT_FLOAT_EQ(m.z, c.z) << c.x;
  }
  in->NMOD = 1;
  const Multipliers single = MultipliersAt(*in, 0);
  EXPECT_EQ(single.t, 1);
  EXPECT_EQ(single.z, 1);
}

TEST(Lookups, CountsBeyondTheStorageAreNotFollowed) {
  auto in = NewInput();
  in->NAE = 1000;
  in->NSET = 1000;
  in->NMOD = -3;
  in->NQW = 99999;
  in->tz.NTZ = 100000;
  in->tz.NPTZ[1] = 100000;
  // Nothing to compare with: the lookups must simply stay inside their arrays.
  EXPECT_EQ(AxialStiffnessAt(*in, 1), 0);
  EXPECT_EQ(SettlementAt(*in, 1), 0);
  EXPECT_EQ(MultipliersAt(*in, 1).t, 1);
  EXPECT_EQ(TipLoadAt(*in, 1), 0);
  EXPECT_EQ(TzValueAtDepth(in->tz, 1, 1), 0);
}

}  // namespace
}  // namespace korvan
