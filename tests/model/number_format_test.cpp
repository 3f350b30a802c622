#include <gtest/gtest.h>

#include "model/NumberFormat.h"
#include "support/qstring_printer.h"

namespace korvan {
namespace {

struct FormatCase {
  long double value;
  int precision;
  const char* text;
};

class FormatGeneralTest : public ::testing::TestWithParam<FormatCase> {};

TEST_P(FormatGeneralTest, WritesTheShortestGeneralForm) {
  const auto& c = GetParam();
  EXPECT_EQ(FormatGeneral(c.value, c.precision, QLatin1Char('.')), QLatin1String(c.text));
}

INSTANTIATE_TEST_SUITE_P(
    Values, FormatGeneralTest,
    ::testing::Values(FormatCase{0, 8, "0"}, FormatCase{-0.0L, 8, "0"}, FormatCase{10, 8, "10"},
                      FormatCase{-2.5L, 8, "-2.5"}, FormatCase{0.1L, 8, "0.1"},
                      FormatCase{1.0L / 3, 8, "0.33333333"}, FormatCase{2.0L / 3, 8, "0.66666667"},
                      FormatCase{12345678, 8, "12345678"}, FormatCase{123456789, 8, "1.2345679E8"},
                      FormatCase{99999999.5L, 8, "1E8"}, FormatCase{0.00001L, 8, "0.00001"},
                      FormatCase{0.000001L, 8, "1E-6"}, FormatCase{-0.0000012345L, 8, "-1.2345E-6"},
                      FormatCase{1.18973149535723176e100L, 8, "1.1897315E100"},
                      FormatCase{25.4L, 8, "25.4"},
                      FormatCase{1.0L / 3, 18, "0.333333333333333333"},
                      FormatCase{1234.5L, 4, "1235"}, FormatCase{12345, 4, "1.235E4"},
                      // Halves round away from zero; a carry may add a digit.
                      FormatCase{2.5L, 1, "3"}, FormatCase{-2.5L, 1, "-3"},
                      FormatCase{0.125L, 2, "0.13"}, FormatCase{9.999999999L, 8, "10"},
                      FormatCase{-99999.9996L, 8, "-100000"}));

TEST(FormatGeneral, UsesTheGivenSeparator) {
  EXPECT_EQ(FormatGeneral(-1.25L, 8, QLatin1Char(',')), "-1,25");
  EXPECT_EQ(FormatGeneral(1.5e-7L, 8, QLatin1Char(',')), "1,5E-7");
}

struct ParseCase {
  const char* text;
  char separator;
  bool converts;
  long double value;
};

class TextToFloatTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(TextToFloatTest, AcceptsOnlyWholeDecimalNumbers) {
  const auto& c = GetParam();
  const auto value = TextToFloat(QString::fromLatin1(c.text), QLatin1Char(c.separator));
  ASSERT_EQ(value.has_value(), c.converts) << c.text;
  if (c.converts) {
    EXPECT_EQ(*value, c.value) << c.text;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, TextToFloatTest,
    ::testing::Values(ParseCase{"1.5", '.', true, 1.5L}, ParseCase{"1,5", ',', true, 1.5L},
                      ParseCase{"1,5", '.', false, 0}, ParseCase{"1.5", ',', false, 0},
                      ParseCase{"-1.5e3", '.', true, -1500}, ParseCase{"+2", '.', true, 2},
                      ParseCase{"5.", '.', true, 5}, ParseCase{".25", '.', true, 0.25L},
                      ParseCase{"1E-2", '.', true, 0.01L}, ParseCase{"", '.', false, 0},
                      ParseCase{"-", '.', false, 0}, ParseCase{".", '.', false, 0},
                      ParseCase{"e5", '.', false, 0}, ParseCase{"1e", '.', false, 0},
                      ParseCase{"1e+", '.', false, 0}, ParseCase{" 1", '.', false, 0},
                      ParseCase{"1 ", '.', false, 0}, ParseCase{"0x10", '.', false, 0},
                      ParseCase{"inf", '.', false, 0}, ParseCase{"nan", '.', false, 0},
                      ParseCase{"1e5000", '.', false, 0}, ParseCase{"1.2.3", '.', false, 0}));

TEST(NumberFormat, RoundTripsEveryDisplayedDigit) {
  for (long double value : {1.0L / 7, 123.456L, -9.87654321e-12L, 6.02214076e23L}) {
    const QString text = FormatGeneral(value, 18, QLatin1Char('.'));
    const auto back = TextToFloat(text, QLatin1Char('.'));
    ASSERT_TRUE(back.has_value()) << text.toStdString();
    EXPECT_EQ(FormatGeneral(*back, 18, QLatin1Char('.')), text);
  }
}

}  // namespace
}  // namespace korvan
