#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "model/EntryEvaluator.h"
#include "support/comma_locale.h"
#include "support/qstring_printer.h"

namespace korvan {
namespace {

struct ValueCase {
  const char* text;
  long double value;
};

class EvaluateEntryValueTest : public ::testing::TestWithParam<ValueCase> {};

TEST_P(EvaluateEntryValueTest, Evaluates) {
  const auto& c = GetParam();
  const long double value = EvaluateEntry(QString::fromUtf8(c.text));
  EXPECT_NEAR(static_cast<double>(value), static_cast<double>(c.value),
              1e-15 * std::fmax(1.0, std::fabs(static_cast<double>(c.value))))
      << c.text;
}

constexpr long double kPi = std::numbers::pi_v<long double>;

INSTANTIATE_TEST_SUITE_P(
    Precedence, EvaluateEntryValueTest,
    ::testing::Values(ValueCase{"3 + 4*2^2", 19}, ValueCase{"-2^2", 4}, ValueCase{"2*-3", -6},
                      ValueCase{"10-2-3", 5}, ValueCase{"(1+2)*3", 9}, ValueCase{"2^3^2", 64},
                      ValueCase{"8/4/2", 1}, ValueCase{"1+2=3", 1}, ValueCase{"1+2=4", 0},
                      ValueCase{"2+3*4=14", 1}, ValueCase{"0|0", 0}, ValueCase{"1+1&0", 1},
                      ValueCase{"((2+3)*(1+1))^2", 100}, ValueCase{"\t 12 .5 ", 12.5L}));

INSTANTIATE_TEST_SUITE_P(Operators, EvaluateEntryValueTest,
                         ::testing::Values(ValueCase{"7%3", 1}, ValueCase{"-7%3", -1},
                                           ValueCase{"7.9%3.2", 1}, ValueCase{"2=2", 1},
                                           ValueCase{"0|5", 1}, ValueCase{"0&5", 0},
                                           ValueCase{"3&-2", 1}, ValueCase{"1--2", 3},
                                           ValueCase{"-(-2)", 2}, ValueCase{"3-(-2)", 5},
                                           ValueCase{"2^-1", 0.5L}, ValueCase{"1e-3*2", 0.002L}));

INSTANTIATE_TEST_SUITE_P(
    Operands, EvaluateEntryValueTest,
    ::testing::Values(ValueCase{"sin(0)", 0}, ValueCase{"sqrt(16)+1", 5}, ValueCase{"3!", 6},
                      ValueCase{"-3!", -6}, ValueCase{"0!", 1}, ValueCase{"$1F", 31},
                      ValueCase{"$ff*2", 510}, ValueCase{"pi", kPi}, ValueCase{"-PI", -kPi},
                      ValueCase{"e", std::numbers::e_v<long double>}, ValueCase{"2*pi", 2 * kPi},
                      ValueCase{"cos(pi)", -1}, ValueCase{"sec(0)", 1}, ValueCase{"abs(-4)", 4},
                      ValueCase{"sin(-pi/2)", -1}, ValueCase{"Sqrt(9)", 3}, ValueCase{"ln(e)", 1},
                      ValueCase{"log(1000)", 3}, ValueCase{"int(-2.7)", -2},
                      ValueCase{"frac(2.75)", 0.75L}, ValueCase{"round(2.5)", 2},
                      ValueCase{"round(3.5)", 4}, ValueCase{"ceil(1.2)", 2},
                      ValueCase{"floor(-1.2)", -2}, ValueCase{"tanh(0)", 0},
                      ValueCase{"arctan(1)*4", kPi}, ValueCase{"arccos(1)", 0},
                      ValueCase{"cosh(0)", 1}, ValueCase{"arcsinh(0)", 0}, ValueCase{"---2", -2},
                      ValueCase{"--2", 2}, ValueCase{"sinpi", 0}));

// A sign right after the "E" of a number belongs to its exponent; after
// Euler's number it is an operator.
INSTANTIATE_TEST_SUITE_P(ExponentSigns, EvaluateEntryValueTest,
                         ::testing::Values(ValueCase{"4.0E+08", 4.0e8L}, ValueCase{"1.5e+3", 1500},
                                           ValueCase{"2E+2", 200}, ValueCase{"2.e-1", 0.2L},
                                           ValueCase{"1e+3-1e-3", 999.999L},
                                           ValueCase{"e-1", std::numbers::e_v<long double> - 1},
                                           ValueCase{"e+1", std::numbers::e_v<long double> + 1},
                                           ValueCase{"2*e-1",
                                                     2 * std::numbers::e_v<long double> - 1},
                                           ValueCase{"$1E+1", 31}, ValueCase{"$1E-1", 29}));

// sqrt16! reads as sqrt(16!): corrected here rather than in the table above.
TEST(EvaluateEntry, FunctionNamesApplyToTheRestOfTheOperand) {
  EXPECT_NEAR(static_cast<double>(EvaluateEntry("sqrt16!")), std::sqrt(20922789888000.0), 1e-3);
  EXPECT_NEAR(static_cast<double>(EvaluateEntry("sin-1")), std::sin(-1.0), 1e-15);
  EXPECT_NEAR(static_cast<double>(EvaluateEntry("2*sin(-1)")), 2 * std::sin(-1.0), 1e-15);
  EXPECT_EQ(EvaluateEntry("3!!"), 720.0L);
  EXPECT_EQ(EvaluateEntry("abs-3!"), 6.0L);
  EXPECT_EQ(EvaluateEntry("$-1F"), -31.0L);  // the "-" after "$" is a sign
}

TEST(EvaluateEntry, LongFunctionChainsDoNotExhaustTheStack) {
  QString text;
  for (int i = 0; i < 200000; ++i) text += QStringLiteral("abs");
  EXPECT_EQ(EvaluateEntry(text + QStringLiteral("$2")), 2.0L);
  EXPECT_EQ(EvaluateEntry(QStringLiteral("(") + text + QStringLiteral("2)!!")), 2.0L);
  EXPECT_THROW(EvaluateEntry(text), EAssignError);
}

struct ErrorCase {
  const char* text;
  const char* reason;
};

class EvaluateEntryErrorTest : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(EvaluateEntryErrorTest, RaisesTheMessage) {
  const auto& c = GetParam();
  try {
    EvaluateEntry(QString::fromUtf8(c.text));
    ADD_FAILURE() << c.text << " evaluated";
  } catch (const EAssignError& error) {
    EXPECT_EQ(error.Message(),
              QStringLiteral("Entry could not be evaluated:\n") + QLatin1String(c.reason))
        << c.text;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Messages, EvaluateEntryErrorTest,
    ::testing::Values(ErrorCase{"", "entry cannot be blank"},
                      ErrorCase{"()", "entry cannot be blank"},
                      ErrorCase{"2.5!", "! (factoral) applicable to integers only"},
                      ErrorCase{"1+", "invalid expression"}, ErrorCase{"*2", "invalid expression"},
                      ErrorCase{"2**3", "invalid expression"},
                      ErrorCase{"  ", "invalid expression"},
                      ErrorCase{"(2", "invalid character(s) in expression"},
                      ErrorCase{"2)", "() (parentheses) do not match"},
                      ErrorCase{"(1))+(2", "() (parentheses) do not match"},
                      ErrorCase{"$", "invalid use of $ (hex function)"},
                      ErrorCase{"$1G", "invalid use of $ (hex function)"},
                      ErrorCase{"$0x1F", "invalid use of $ (hex function)"},
                      ErrorCase{"abc", "invalid character(s) in expression"},
                      ErrorCase{"1,5", "invalid character(s) in expression"},
                      ErrorCase{"sin", "invalid character(s) in expression"},
                      ErrorCase{"cosec(1)", "invalid character(s) in expression"}));

// Results that are no finite number never reach a field or a cell.
INSTANTIATE_TEST_SUITE_P(
    NonFinite, EvaluateEntryErrorTest,
    ::testing::Values(ErrorCase{"1/0", "division by zero"}, ErrorCase{"5%0", "division by zero"},
                      ErrorCase{"5%0.5", "division by zero"},
                      ErrorCase{"sqrt(-1)", "invalid floating point operation"},
                      ErrorCase{"ln(0)", "floating point overflow"},
                      ErrorCase{"10^5000", "floating point overflow"},
                      ErrorCase{"2000!", "floating point overflow"},
                      ErrorCase{"1e30%2", "invalid floating point operation"},
                      ErrorCase{"1e99999", "invalid character(s) in expression"}));

TEST(EvaluateEntry, IntermediateResultsKeepEighteenDigits) {
  // Every operation's result re-enters the text with 18 significant digits;
  // a lone operand keeps its full precision.
  EXPECT_EQ(EvaluateEntry("1/3"), 0.333333333333333333L);
  EXPECT_EQ(EvaluateEntry("(pi)"), 3.14159265358979324L);
  EXPECT_NE(EvaluateEntry("pi"), EvaluateEntry("(pi)"));
}

TEST(EvaluateEntry, NumbersFollowTheProgramsDecimalSeparator) {
  testing::TCommaLocale comma;
  if (!comma.Active()) GTEST_SKIP() << "no locale with a decimal comma available";
  EXPECT_EQ(EvaluateEntry("1,5*2"), 3.0L);
  EXPECT_EQ(EvaluateEntry("(1/4)*2"), 0.5L);
  EXPECT_THROW(EvaluateEntry("1.5"), EAssignError);
}

}  // namespace
}  // namespace korvan
