#include "model/Units.h"

#include <gtest/gtest.h>

#include <cmath>

namespace korvan {
namespace {

constexpr long double kLbsPerKN = 224.8089237L;
constexpr long double kKipsPerKN = 0.2248089237L;
constexpr long double kInPerM = 39.37007874L;
constexpr long double kInPerMm = 0.03937007874L;
constexpr long double kFtPerM = 3.280839895L;

struct FactorCase {
  const char* code;
  long double factor;
};

class UnitsFactorTest : public ::testing::TestWithParam<FactorCase> {};

TEST_P(UnitsFactorTest, MatchesSlotFactorsAndExponents) {
  const auto& c = GetParam();
  EXPECT_NEAR(static_cast<double>(UnitsFactor(c.code) / c.factor), 1.0, 1e-15) << c.code;
}

INSTANTIATE_TEST_SUITE_P(
    Codes, UnitsFactorTest,
    ::testing::Values(
        FactorCase{"F", kLbsPerKN}, FactorCase{"F0", kLbsPerKN}, FactorCase{"F1", kKipsPerKN},
        FactorCase{"F2", 0.1124044745L}, FactorCase{"F7", 0.1124044745L},
        FactorCase{"F4", 5.7101483L}, FactorCase{"F5", 1.0L}, FactorCase{"F6", 68.364249L},
        FactorCase{"L", kInPerM}, FactorCase{"L0", kInPerM}, FactorCase{"L1", kInPerMm},
        FactorCase{"L2", kFtPerM}, FactorCase{"L9", kFtPerM}, FactorCase{"L3", 1.0L},
        FactorCase{"F/L^2", kLbsPerKN / (kInPerM * kInPerM)},
        FactorCase{"F/L^3", kLbsPerKN / (kInPerM * kInPerM * kInPerM)},
        FactorCase{"F1/L2^2", kKipsPerKN / (kFtPerM * kFtPerM)},
        FactorCase{"F-L", kLbsPerKN* kInPerM},
        FactorCase{"F1^2-L2^3", kKipsPerKN* kKipsPerKN* kFtPerM* kFtPerM* kFtPerM},
        FactorCase{"1/L", 1.0L / kInPerM},  // Only the first "/" splits: the denominator F/L is a
                                            // force-length product.
        FactorCase{"L/F/L", 1.0L / kLbsPerKN}, FactorCase{"", 1.0L}, FactorCase{"in", 1.0L},
        FactorCase{"L0^", kInPerM}));

TEST(UnitsFactor, PoundsPerSquareInchInOneKilopascal) {
  EXPECT_NEAR(static_cast<double>(UnitsFactor("F/L^2")), 0.1450377, 5e-8);
}

struct ConvertCase {
  int from;
  int to;
  const char* code;
  long double expected;
};

class ConvertFactorTest : public ::testing::TestWithParam<ConvertCase> {};

TEST_P(ConvertFactorTest, ConvertsOnlyBetweenEnglishAndSI) {
  const auto& c = GetParam();
  EXPECT_NEAR(static_cast<double>(ConvertFactor(c.from, c.to, c.code) / c.expected), 1.0, 1e-15)
      << c.from << "->" << c.to << " " << c.code;
}

INSTANTIATE_TEST_SUITE_P(
    Systems, ConvertFactorTest,
    ::testing::Values(ConvertCase{2, 1, "F/L^2", kLbsPerKN / (kInPerM * kInPerM)},
                      ConvertCase{1, 2, "F/L^2", (kInPerM * kInPerM) / kLbsPerKN},
                      ConvertCase{2, 1, "L1", kInPerMm}, ConvertCase{1, 2, "L", 1.0L / kInPerM},
                      ConvertCase{1, 2, "", 1.0L}, ConvertCase{2, 1, "", 1.0L}));

TEST(ConvertFactor, IsExactlyOneWithinASystemOrWithTheGenericSystem) {
  for (const char* code : {"F/L^2", "L1", "F1/L2^2", ""}) {
    for (auto [from, to] : {std::pair{1, 1}, {2, 2}, {3, 3}, {1, 3}, {3, 1}, {2, 3}, {3, 2}}) {
      EXPECT_EQ(ConvertFactor(from, to, code), 1.0L) << from << "->" << to << " " << code;
    }
  }
}

TEST(ConvertFactor, TurnsMillimetresIntoInches) {
  EXPECT_NEAR(static_cast<double>(25.4L * ConvertFactor(2, 1, "L1")), 1.0, 1e-10);
}

struct TextCase {
  const char* code;
  const char* english;
  const char* si;
  const char* generic;
};

class UnitsTextTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(UnitsTextTest, ReplacesSlotCodesByNames) {
  const auto& c = GetParam();
  EXPECT_EQ(UnitsText(QString::fromUtf8(c.code), 1), QString::fromUtf8(c.english));
  EXPECT_EQ(UnitsText(QString::fromUtf8(c.code), 2), QString::fromUtf8(c.si));
  EXPECT_EQ(UnitsText(QString::fromUtf8(c.code), 3), QString::fromUtf8(c.generic));
}

INSTANTIATE_TEST_SUITE_P(
    Codes, UnitsTextTest,
    ::testing::Values(TextCase{"F", "lbs", "kN", "F"}, TextCase{"F1", "kips", "kN", "F"},
                      TextCase{"L", "in", "m", "L"}, TextCase{"L1", "in", "mm", "L"},
                      TextCase{"L2", "ft", "m", "L"},
                      TextCase{"F/L^2", "lbs/in^2", "kN/m^2", "F/L^2"},
                      TextCase{"F/L^3", "lbs/in^3", "kN/m^3", "F/L^3"},
                      TextCase{"F1/L2^2", "kips/ft^2", "kN/m^2", "F/L^2"},
                      TextCase{"L²", "in²", "m²", "L²"}, TextCase{"", "", "", ""},
                      TextCase{"F4", "lb-sec2/in", "Mg", "M"}, TextCase{"F5", "sec", "sec", "T"},
                      TextCase{"F6", "slug", "Mg", "F"}, TextCase{"L3", "rad", "rad", "L"},
                      // "F0" is not a code of its own: the bare letter is replaced.
                      TextCase{"F0", "lbs0", "kN0", "F0"}));

TEST(UnitsText, NeverRescansInsertedNames) {
  // The generic name of "F4" is "M", of "L3" is "L": neither is replaced again.
  EXPECT_EQ(UnitsText("F4-L3", 3), "M-L");
  EXPECT_EQ(UnitsText("L3/L", 1), "rad/in");
}

const char* const kSystemCodes[] = {"F",     "L",     "L1",      "L2", "F1",
                                    "F/L^2", "F/L^3", "F1/L2^2", "L²", ""};

TEST(ShortUnitsText, EqualsUnitsTextForEverySystemCode) {
  for (const char* raw : kSystemCodes) {
    const QString code = QString::fromUtf8(raw);
    for (int system : {1, 2}) {
      EXPECT_EQ(EditUnitsText(code, system), UnitsText(code, system)) << raw;
      EXPECT_EQ(GraphUnitsText(code, system), UnitsText(code, system)) << raw;
    }
    EXPECT_EQ(EditUnitsText(code, 3), code) << raw;
    EXPECT_EQ(GraphUnitsText(code, 3), code) << raw;
  }
}

TEST(ShortUnitsText, ReplacesOneForceKindAndOneLengthKind) {
  EXPECT_EQ(EditUnitsText("F1-F/L2-L", 1), "kips-F/ft-L");
  EXPECT_EQ(EditUnitsText("F4/L3", 2), "Mg/rad");
  // Graph captions know no F4 or L3 kinds: the bare letters are replaced.
  EXPECT_EQ(GraphUnitsText("F4/L3", 2), "kN4/m3");
}

TEST(ChartUnits, KeepsSixSlotsWithTheirOwnSelectors) {
  const TUnitsTable& chart = ChartUnits();
  ASSERT_EQ(chart.SlotCount(), 6);
  EXPECT_EQ(StandardUnits().SlotCount(), 10);
  for (int slot = 0; slot < 6; ++slot) {
    EXPECT_EQ(chart.Slot(slot).Factor, StandardUnits().Slot(slot).Factor);
    EXPECT_EQ(chart.Slot(slot).EnglishName, StandardUnits().Slot(slot).EnglishName);
  }
  EXPECT_EQ(chart.UnitsFactor("F4"), StandardUnits().UnitsFactor("F2"));
  EXPECT_EQ(chart.UnitsFactor("L3"), StandardUnits().UnitsFactor("L2"));
  EXPECT_EQ(chart.UnitsFactor("F1/L2^2"), StandardUnits().UnitsFactor("F1/L2^2"));
  EXPECT_EQ(chart.UnitsText("F1/L2^2", 1), "kips/ft^2");
  EXPECT_EQ(chart.UnitsText("L3", 1), "in3");
  EXPECT_EQ(chart.ConvertFactor(1, 2, "L"), StandardUnits().ConvertFactor(1, 2, "L"));
}

}  // namespace
}  // namespace korvan
