#include "engine/tip_movements.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace korvan {
namespace {

const std::vector<Real> kUplift = {-5.0f,  -0.5f,  -0.2f,   -0.1f,   -0.07f,
                                   -0.03f, -0.01f, -0.001f, -0.0001f};
const std::vector<Real> kCompression = {0.0001f, 0.001f, 0.01f, 0.03f, 0.07f,
                                        0.1f,    0.2f,   0.5f,  5.0f};

std::vector<Real> Joined(std::vector<Real> first, const std::vector<Real>& second) {
  first.insert(first.end(), second.begin(), second.end());
  return first;
}

std::vector<Real> Movements(const InputData& in) {
  return std::vector<Real>(in.TIPMV.begin() + 1, in.TIPMV.begin() + 1 + in.NTIPMV);
}

struct DefaultSeriesCase {
  const char* name;
  std::vector<Real> loads;
  std::vector<Real> inches;
};

TEST(BuildTipMovements, DefaultSeriesFollowsTheSignsOfTheHeadLoads) {
  const std::vector<DefaultSeriesCase> cases = {
      {"no loads", {}, kCompression},
      {"only zero loads", {0, 0}, kCompression},
      {"compression", {100, 250}, kCompression},
      {"uplift", {-50}, kUplift},
      {"uplift and zero", {-50, 0}, kUplift},
      {"both signs", {100, -50, 0}, Joined(kUplift, kCompression)},
  };
  for (const DefaultSeriesCase& c : cases) {
    auto in = std::make_unique<InputData>();
    in->NUNIT = 1;
    in->NLOAD = static_cast<Int>(c.loads.size());
    for (std::size_t n = 0; n < c.loads.size(); ++n) in->PLOAD[n + 1] = c.loads[n];
    BuildTipMovements(*in);
    EXPECT_FALSE(in->userTipMovements) << c.name;
    EXPECT_EQ(Movements(*in), c.inches) << c.name;
  }
}

TEST(BuildTipMovements, DefaultSeriesInMetresForAnyOtherUnitSystem) {
  for (Int unitSystem : {2, 0, 7}) {
    auto in = std::make_unique<InputData>();
    in->NUNIT = unitSystem;
    in->NLOAD = 3;
    in->PLOAD[1] = 100;
    in->PLOAD[2] = -50;
    BuildTipMovements(*in);
    ASSERT_EQ(in->NTIPMV, 18);
    const std::vector<Real> inches = Joined(kUplift, kCompression);
    for (Int n = 1; n <= 18; ++n) {
      EXPECT_EQ(in->TIPMV[n], inches[n - 1] * 0.0254f) << n;
    }
    EXPECT_FLOAT_EQ(in->TIPMV[1], -0.127f);
    EXPECT_FLOAT_EQ(in->TIPMV[18], 0.127f);
  }
}

TEST(BuildTipMovements, UserMovementsAreSortedAscending) {
  struct SortCase {
    std::vector<Real> given, sorted;
  };
  const std::vector<SortCase> cases = {
      {{0.5f, 0.1f, 0.3f}, {0.1f, 0.3f, 0.5f}},
      {{0.2f}, {0.2f}},
      {{1, -1, 0, -2, 2}, {-2, -1, 0, 1, 2}},
      {{0.3f, 0.1f, 0.3f, 0.1f}, {0.1f, 0.1f, 0.3f, 0.3f}},
      {{5, 4, 3, 2, 1}, {1, 2, 3, 4, 5}},
  };
  for (const SortCase& c : cases) {
    auto in = std::make_unique<InputData>();
    in->NUNIT = 2;  // user movements are taken as given, in either unit system
    in->NLOAD = 1;
    in->PLOAD[1] = -100;
    in->NTIPMV = static_cast<Int>(c.given.size());
    for (std::size_t n = 0; n < c.given.size(); ++n) in->TIPMV[n + 1] = c.given[n];
    BuildTipMovements(*in);
    EXPECT_TRUE(in->userTipMovements);
    EXPECT_EQ(Movements(*in), c.sorted);
  }
}

TEST(BuildTipMovements, FullCapacityIsSortedInPlace) {
  auto in = std::make_unique<InputData>();
  in->NTIPMV = kMaxTipMovements;
  for (Int n = 1; n <= kMaxTipMovements; ++n) in->TIPMV[n] = static_cast<Real>((n * 37) % 101);
  BuildTipMovements(*in);
  for (Int n = 2; n <= kMaxTipMovements; ++n) EXPECT_LE(in->TIPMV[n - 1], in->TIPMV[n]);
  EXPECT_EQ(in->TIPMV[0], 0.0f);  // the unused slot stays untouched
}

}  // namespace
}  // namespace korvan
