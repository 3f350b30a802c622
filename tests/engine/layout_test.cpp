#include "engine/line_layout/layout.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <random>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/line_layout/layout_program.h"

namespace korvan {
namespace {

struct LayoutCase {
  const char* layout;
  std::vector<FieldValue> values;
  std::string expected;
};

std::string Blanks(int n) {
  return std::string(static_cast<std::size_t>(n), ' ');
}

void ExpectAll(const std::vector<LayoutCase>& cases) {
  for (const LayoutCase& c : cases) {
    EXPECT_EQ(FormatLayout(c.layout, c.values), c.expected) << "layout: " << c.layout;
  }
}

TEST(Layout, ReportLayouts) {
  ExpectAll({
      {R"(2X, I5, I11, E16.4)", {3, 12, 123.4f}, "      3         12      0.1234E+03\n"},
      {R"(31X, PE15.4, PE15.4)", {1.5f, -0.25f}, Blanks(31) + "     1.5000E+00    -2.5000E-01\n"},
      {R"(//12X, "LAYER", 12X, "SOIL TYPE          XTOP        XBOT"/12X, "     ", 12X, )"
       R"("                    IN.         IN.")",
       {},
       "\n\n" + Blanks(12) + "LAYER" + Blanks(12) + "SOIL TYPE          XTOP        XBOT\n" +
           Blanks(29) + "                    IN.         IN.\n"},
      // Stops at the fourth PE10.3: the 2X after the third value is written.
      {R"(3X, 7(PE10.3, 2X))", {1, 2.5f, -3}, "    1.000E+00   2.500E+00  -3.000E+00  \n"},
      {R"(PE17.4, 3(PE16.4))",
       {100.0f, 0.5f, 0.01f, -20.0f},
       "       1.0000E+02      5.0000E-01      1.0000E-02     -2.0000E+01\n"},
      {R"(5X, '='*73)", {}, Blanks(5) + std::string(73, '=') + "\n"},
      {"5X, '-'\xC3\x97"
       "73",
       {},
       Blanks(5) + std::string(73, '-') + "\n"},
      {R"(15X, "Date:  ", A, " ", I2.2, ", ", I4, 5X, "Time:  ", I2.2, ":", I2.2, ":", I2.2)",
       {"March ", 5, 2024, 9, 7, 30},
       Blanks(15) + "Date:  March 05, 2024     Time:  09:07:30\n"},
      // The slash inside the quotes is text.
      {R"(5X, "THE VALUE OF X =", E9.2, "IS BEYOND THE EXTENT OF/", 5X, A)",
       {25.0f, "THE INPUT STRENGTH CURVE"},
       "     THE VALUE OF X = 0.25E+02IS BEYOND THE EXTENT OF/     THE INPUT STRENGTH CURVE\n"},
      {R"(PE17.4, 5X, "NOT ABLE TO GET CONVERGENCE")",
       {1500.0f},
       "       1.5000E+03     NOT ABLE TO GET CONVERGENCE\n"},
      {R"(///9X, "COMPUTATION IS PROCEEDING.......")",
       {},
       "\n\n\n         COMPUTATION IS PROCEEDING.......\n"},
      {R"(/"  ")", {}, "\n  \n"},
      {"", {}, "\n"},
      {R"(" ")", {}, " \n"},
      {R"("1")", {}, "1\n"},
      {R"(1X, A72)", {"TITLE"}, " TITLE" + Blanks(67) + "\n"},
      {R"(10X, I5, 4X, A24, 2X, 2(PE10.3, 2X))",
       {1, "  Driven Pile in Clay   ", 0.0f, 120.0f},
       "              1      Driven Pile in Clay      0.000E+00   1.200E+02  \n"},
      {R"(4X, F10.3)", {-250.0f}, "      -250.000\n"},
      {R"(1X, F6.1, 8X, 14X, PE10.3, 21X, PE10.3)",
       {12.5f, 1000.0f, 0.001f},
       "   12.5" + Blanks(22) + " 1.000E+03" + Blanks(21) + " 1.000E-03\n"},
      {R"(7X, E10.3, 18X, E10.3, 15X, E10.3)",
       {10.0f, 1.0f, 0.5f},
       Blanks(7) + " 0.100E+02" + Blanks(18) + " 0.100E+01" + Blanks(15) + " 0.500E+00\n"},
  });
}

TEST(Layout, NumberFormsOfTheNotation) {
  ExpectAll({
      {"E16.4", {123.4f}, "      0.1234E+03\n"},
      {"E9.2", {-0.5f}, "-0.50E+00\n"},
      {"PE10.3", {-123.4f}, "-1.234E+02\n"},
      {"PE10.3", {0.0f}, " 0.000E+00\n"},
      {"E10.3", {0.0f}, " 0.000E+00\n"},
      {"F6.1", {12.34f}, "  12.3\n"},
      {"F4.0", {7.0f}, "  7.\n"},
      {"I5", {-42}, "  -42\n"},
      {"I2.2", {5}, "05\n"},
      {"I4.3", {-7}, "-007\n"},
      {"I4.3", {1234}, "1234\n"},
      // Rounding carries into the exponent.
      {"PE10.3", {9.9999f}, " 1.000E+01\n"},
      {"E10.3", {0.99999f}, " 0.100E+01\n"},
      {"F6.2", {9.999f}, " 10.00\n"},
      // The extremes of 32-bit reals need two exponent digits only.
      {"PE12.4", {std::numeric_limits<float>::max()}, "  3.4028E+38\n"},
      {"E12.4", {std::numeric_limits<float>::max()}, "  0.3403E+39\n"},
      {"PE12.4", {std::numeric_limits<float>::denorm_min()}, "  1.4013E-45\n"},
      {"E12.4", {std::numeric_limits<float>::denorm_min()}, "  0.1401E-44\n"},
      {"F8.3", {std::numeric_limits<float>::denorm_min()}, "   0.000\n"},
  });
}

// Reals are rounded from their exact 32-bit value; a value exactly halfway
// rounds away from zero, as an engineer rounds by hand.
TEST(Layout, RoundsToNearestAndHalvesAwayFromZero) {
  ExpectAll({
      {"F6.1", {0.05f}, "   0.1\n"},   // 0.0500000007...
      {"F6.1", {0.15f}, "   0.2\n"},   // 0.1500000059...
      {"F6.1", {0.35f}, "   0.3\n"},   // 0.3499999940...
      {"F6.1", {0.25f}, "   0.3\n"},   // exactly halfway
      {"F6.1", {-0.25f}, "  -0.3\n"},  // exactly halfway
      {"F6.2", {0.125f}, "  0.13\n"},
      {"F6.0", {2.5f}, "    3.\n"},
      {"F6.0", {-0.5f}, "   -1.\n"},
      {"E10.2", {0.125f}, "  0.13E+00\n"},
      {"E10.1", {25.0f}, "   0.3E+02\n"},
      {"PE10.1", {-0.125f}, "  -1.3E-01\n"},
      {"PE10.3", {1.0625f}, " 1.063E+00\n"},
      {"I4", {2.5f}, "   3\n"},
      {"I4", {-2.5f}, "  -3\n"},
      {"I4", {2.4999f}, "   2\n"},
      // A double is narrowed to the engine's 32-bit real before formatting:
      // 0.45 becomes 0.449999988...
      {"F6.1", {0.45}, "   0.4\n"},
  });
}

// Away from exact halfway cases, PE and F agree with the C library's correctly
// rounded %E and %f on 32-bit reals from the whole range.
TEST(Layout, AgreesWithCorrectlyRoundedConversionOffHalfwayCases) {
  std::mt19937 random(20240305);
  int compared = 0;
  for (int i = 0; i < 20000; ++i) {
    const auto real = std::bit_cast<float>(static_cast<std::uint32_t>(random()));
    if (!std::isfinite(real)) continue;
    const double exact = real;
    const int decimals = static_cast<int>(random() % 8);
    char digits[128];
    // The exact decimal expansion shows whether rounding is halfway.
    std::snprintf(digits, sizeof digits, "%.60E", exact);
    const std::string expansion = std::string(digits).substr(0, std::string(digits).find('E'));
    const std::size_t cut = expansion.find('.') + 1 + static_cast<std::size_t>(decimals);
    const bool halfway =
        expansion[cut] == '5' && expansion.find_first_not_of('0', cut + 1) == std::string::npos;
    if (halfway) continue;
    std::snprintf(digits, sizeof digits, "%#20.*E", decimals, exact);
    const std::string layout = "PE20." + std::to_string(decimals);
    EXPECT_EQ(FormatLayout(layout, std::vector<FieldValue>{real}), std::string(digits) + "\n")
        << exact;
    ++compared;
  }
  EXPECT_GT(compared, 15000);
  for (int i = 0; i < 20000; ++i) {
    const float real = std::ldexp(static_cast<float>(random() % 2000000) - 1000000.0f,
                                  static_cast<int>(random() % 40) - 30);
    const int decimals = static_cast<int>(random() % 6);
    char digits[128];
    std::snprintf(digits, sizeof digits, "%.60f", static_cast<double>(real));
    const std::string expansion = digits;
    const std::size_t cut = expansion.find('.') + 1 + static_cast<std::size_t>(decimals);
    if (expansion[cut] == '5' && expansion.find_first_not_of('0', cut + 1) == std::string::npos) {
      continue;
    }
    std::snprintf(digits, sizeof digits, "%.*f", decimals, static_cast<double>(real));
    std::string expected = digits;
    if (expected.find_first_not_of("-0.") == std::string::npos && expected[0] == '-') {
      expected.erase(0, 1);  // no minus sign on zero
    }
    if (decimals == 0) expected += '.';
    expected = std::string(expected.size() < 30 ? 30 - expected.size() : 0, ' ') + expected;
    const std::string layout = "F30." + std::to_string(decimals);
    EXPECT_EQ(FormatLayout(layout, std::vector<FieldValue>{real}), expected + "\n") << real;
  }
}

// A value that rounds to zero is written without its minus sign.
TEST(Layout, NegativeZeroPrintsWithoutSign) {
  ExpectAll({
      {"F6.1", {-0.0f}, "   0.0\n"},
      {"F6.1", {-0.04f}, "   0.0\n"},
      {"F4.1", {-0.04f}, " 0.0\n"},
      {"F6.0", {-0.4f}, "    0.\n"},
      {"PE10.3", {-0.0f}, " 0.000E+00\n"},
      {"E9.2", {-0.0f}, " 0.00E+00\n"},
      {"I3", {-0.4f}, "  0\n"},
      {"F6.1", {-0.05f}, "  -0.1\n"},
  });
}

// A number too wide for its F or I field keeps its value in the same width,
// in exponent form with as many decimals as fit; asterisks are left for
// fields too narrow for any form, and for what is no number.
TEST(Layout, ValuesThatDoNotFitTakeTheExponentFormOfTheirWidth) {
  const float inf = std::numeric_limits<float>::infinity();
  const float nan = std::numeric_limits<float>::quiet_NaN();
  ExpectAll({
      {"I3", {999}, "999\n"},
      {"I3", {1000}, "***\n"},  // one digit and its exponent need five columns
      {"I3", {-99}, "-99\n"},
      {"I3", {-100}, "***\n"},
      {"I3.3", {-5}, "***\n"},
      {"I2.2", {123}, "**\n"},
      {"I11", {std::numeric_limits<std::int32_t>::min()}, "-2147483648\n"},
      {"I10", {std::numeric_limits<std::int32_t>::min()}, "-2.147E+09\n"},
      {"I10", {std::numeric_limits<std::int32_t>::max()}, "2147483647\n"},
      {"I9", {std::numeric_limits<std::int32_t>::max()}, "2.147E+09\n"},
      // A curve number beyond I5: the point goes when no decimal fits.
      {"I5", {99999}, "99999\n"},
      {"I5", {100000}, "1E+05\n"},
      {"I5", {-100000}, "*****\n"},
      {"I6", {-100000}, "-1E+05\n"},
      {"I6", {123456}, "123456\n"},
      {"I6", {1234567}, " 1E+06\n"},
      {"I7", {12500000}, "1.3E+07\n"},  // exactly halfway: away from zero
      {"I7", {-12500000}, " -1E+07\n"},
      // A real in an integer field is rounded to an integer first: 1500000,
      // halfway at one digit.
      {"I6", {1499999.5f}, " 2E+06\n"},
      // F10.3 holds 999999.999 at most; the largest 32-bit real below a
      // million is 999999.9375, and 999999.999 itself is stored as 1000000.
      {"F10.3", {999999.9375f}, "999999.938\n"},
      {"F10.3", {999999.999}, "1.0000E+06\n"},
      {"F10.3", {1000000.0f}, "1.0000E+06\n"},
      {"F10.3", {999999}, "999999.000\n"},
      {"F10.3", {1011600.0f}, "1.0116E+06\n"},  // a 4.5 MN shaft's head load in pounds
      {"F10.3", {12345678.0f}, "1.2346E+07\n"},
      {"F10.3", {9999999.0f}, "1.0000E+07\n"},  // rounding carries into the exponent
      {"F10.3", {3e38f}, "3.0000E+38\n"},
      {"F10.3", {1000000}, "1.0000E+06\n"},
      // Negative, it holds -99999.999; the 32-bit real nearest to that is
      // -99999.9921875, and -99999.999 itself is stored as -100000.
      {"F10.3", {-99999.9921875f}, "-99999.992\n"},
      {"F10.3", {-99999.999f}, "-1.000E+05\n"},
      {"F10.3", {-99999}, "-99999.000\n"},
      {"F10.3", {-100000.0f}, "-1.000E+05\n"},
      {"F10.3", {-1234567.0f}, "-1.235E+06\n"},
      // F6.1 holds depths to 9999.9; beyond, one digit and the exponent.
      {"F6.1", {9999.9f}, "9999.9\n"},
      {"F6.1", {10000.0f}, " 1E+04\n"},
      {"F6.1", {9999.95f}, " 1E+04\n"},  // 9999.9501... rounds to 10000.0
      {"F6.1", {15000.0f}, " 2E+04\n"},  // exactly halfway: away from zero
      {"F6.1", {-25000.0f}, "-3E+04\n"},
      {"F6.1", {-1000.0f}, "-1E+03\n"},
      {"F6.1", {-10000.0f}, "-1E+04\n"},
      {"F6.1", {1e30f}, " 1E+30\n"},
      {"F7.1", {123456.0f}, "1.2E+05\n"},
      {"F5.1", {10000.0f}, "1E+04\n"},
      {"F5.1", {-1000.0f}, "*****\n"},
      {"F4.1", {1000.0f}, "****\n"},
      // A wide field writes the exact binary value's digits, as F does.
      {"F30.3", {std::ldexp(1.0f, 100)}, "1.267650600228229401496703E+30\n"},
      // A value that overflows only once rounded (10000.) takes the form too.
      {"F5.0", {9999.6f}, "1E+04\n"},
      // E and PE fields narrower than their own form.
      {"E8.4", {1.0f}, "********\n"},
      {"E10.4", {-1.0f}, "**********\n"},
      {"E11.4", {-1.0f}, "-0.1000E+01\n"},
      {"PE9.4", {-1.0f}, "*********\n"},
      {"PE10.4", {1.0f}, "1.0000E+00\n"},
      {"PE10.4", {-1.0f}, "**********\n"},
      // Infinities, NaN and texts in numeric fields never crash.
      {"F8.2, I4, E10.3, PE10.3", {inf, nan, -inf, nan}, std::string(32, '*') + "\n"},
      {"F10.3, I10", {-inf, inf}, std::string(20, '*') + "\n"},
      {"I4, F6.1", {"text", "5"}, "**********\n"},
  });
}

TEST(Layout, ConvertsBetweenIntegersRealsAndTexts) {
  ExpectAll({
      {"F6.1", {12}, "  12.0\n"},
      {"PE10.3", {-3}, "-3.000E+00\n"},
      {"E12.5", {123456}, " 0.12346E+06\n"},
      {"I5", {12.5f}, "   13\n"},
      {"I5", {-12.4f}, "  -12\n"},
      {"I5", {1e20f}, "1E+20\n"},
      {"I12", {-1e20f}, "-1.00000E+20\n"},
      {"A", {42}, "42\n"},
      {"A4", {1.5f}, "1.5 \n"},
  });
}

TEST(Layout, TextFields) {
  ExpectAll({
      {R"("[", A, "]")", {"abc   "}, "[abc]\n"},
      {R"("[", A, "]")", {"  x  "}, "[  x]\n"},
      {R"("[", A, "]")", {""}, "[]\n"},
      {R"("[", A, "]")", {"      "}, "[]\n"},
      {R"("[", A5, "]")", {"abcdefg"}, "[abcde]\n"},
      {R"("[", A5, "]")", {"ab"}, "[ab   ]\n"},
      {R"("[", A5, "]")", {"ab   x"}, "[ab   ]\n"},
      {R"("[", A12, "]")", {"2021.4.3"}, "[2021.4.3    ]\n"},
  });
}

TEST(Layout, LiteralTexts) {
  ExpectAll({
      {R"("say ""hi""")", {}, "say \"hi\"\n"},
      {R"('it''s')", {}, "it's\n"},
      {R"('ab'*3, "-")", {}, "ababab-\n"},
      {R"('*' * 4)", {}, "****\n"},
      {R"('x'*0, "y")", {}, "y\n"},
      {R"(X, "a", 0X, "b")", {}, " ab\n"},
      {R"(2x, i3, f5.1, pe10.2, a)", {1, 2.0f, 3.0f, "z"}, "    1  2.0  3.00E+00z\n"},
      // Commas may be left out between fields.
      {R"(2X"a"I2)", {7}, "  a 7\n"},
  });
}

TEST(Layout, Slashes) {
  ExpectAll({
      {"I2/I2", {1, 2}, " 1\n 2\n"},
      {"I2//I2", {1, 2}, " 1\n\n 2\n"},
      {"I2///I2", {1, 2}, " 1\n\n\n 2\n"},
      {"I2, / ,/, I2", {1, 2}, " 1\n\n 2\n"},
      {"//I2", {1}, "\n\n 1\n"},
      {"I2/", {1}, " 1\n\n"},
      {"I2//", {1}, " 1\n\n\n"},
      {"/", {}, "\n\n"},
      {"2/, I2", {1}, "\n\n 1\n"},
      {R"("A"/"B")", {}, "A\nB\n"},
      {R"("A"//"B"/)", {}, "A\n\nB\n\n"},
      {R"(//8X, "TIP   LOAD", 8X, "TIP MOVEMENT"/12X, A3, 15X, A3)",
       {"LBS", "IN."},
       "\n\n        TIP   LOAD        TIP MOVEMENT\n            LBS               IN.\n"},
      {R"(3X, "CURVE NO.", 2X, A3/)", {"IN."}, "   CURVE NO.  IN.\n\n"},
      // A slash inside a group ends a line at every repetition.
      {R"(2(I2/))", {1, 2}, " 1\n 2\n\n"},
  });
}

TEST(Layout, OutputStopsAtTheFirstDataFieldWithoutValue) {
  ExpectAll({
      {R"(I2, " and ", I2, " end")", {1}, " 1 and \n"},
      {R"(I2, " and ", I2, " end")", {1, 2}, " 1 and  2 end\n"},
      {R"("x", I2, "y")", {}, "x\n"},
      {R"(31X, PE15.4, PE15.4)", {}, Blanks(31) + "\n"},
      {"PE18.4", {}, "\n"},
      {R"(I2, "a"/)", {1}, " 1a\n\n"},
  });
}

TEST(Layout, LeftOverValuesReuseTheLayoutOnNewLines) {
  ExpectAll({
      {"PE18.4, PE19.4",
       {1, 2, 3, 4, 5, 6},
       "        1.0000E+00         2.0000E+00\n"
       "        3.0000E+00         4.0000E+00\n"
       "        5.0000E+00         6.0000E+00\n"},
      // An odd value left over ends its line at the second field.
      {"PE18.4, PE19.4", {1, 2, 3}, "        1.0000E+00         2.0000E+00\n        3.0000E+00\n"},
      {"I3", {1, 2, 3}, "  1\n  2\n  3\n"},
      {R"("<", I1, ">")", {1, 2}, "<1>\n<2>\n"},
      {R"(/"h", I1)", {1, 2}, "\nh1\n\nh2\n"},
      {"3X, 7(PE10.3, 2X)",
       {1, 2, 3, 4, 5, 6, 7, 8},
       "    1.000E+00   2.000E+00   3.000E+00   4.000E+00   5.000E+00   6.000E+00   "
       "7.000E+00  \n    8.000E+00  \n"},
      // A layout without data fields is written once whatever the values.
      {R"("only text")", {1, 2}, "only text\n"},
  });
}

TEST(Layout, RepeatGroups) {
  ExpectAll({
      {R"(2(I2, 2("-", I1)))", {1, 2, 3, 4, 5, 6}, " 1-2-3 4-5-6\n"},
      {R"(3(I1))", {1, 2, 3}, "123\n"},
      {R"(2I2, 2(1X, A))", {1, 2, "a", "b"}, " 1 2 a b\n"},
      {R"(3(2("ab"), "|"))", {}, "abab|abab|abab|\n"},
      {R"(2(2(2(2("x")))))", {}, std::string(16, 'x') + "\n"},
      {R"(0(I1), "z")", {}, "z\n"},
  });
}

// A malformed layout is a writer's fault: the line shows the layout and the
// values, and nothing crashes.
TEST(Layout, MalformedLayoutsWriteTheirTextAndValues) {
  const std::vector<FieldValue> values = {7, 1.5f, "t"};
  for (const char* layout : {"I5, Q3",
                             "(I5",
                             "I5)",
                             "F6",
                             "E10",
                             "PE10",
                             "P10.2",
                             R"("open)",
                             "'x'*",
                             "I0",
                             "A0",
                             "F0.1",
                             "I3.4",
                             "1001X",
                             "99999999999999999999X",
                             "1000(1000(I1))",
                             "1000(1000('x'*1000))",
                             "5",
                             "E10.",
                             "I5 ,, ,,? ",
                             ")",
                             "(((",
                             "'='\xC3\x97",
                             "\xC3\x97",
                             "\xC3"}) {
    EXPECT_EQ(FormatLayout(layout, values), std::string(layout) + " 7 1.5 t\n") << layout;
  }
}

// Layouts that would expand to absurd lines or nest absurdly deep are refused
// before they expand.
TEST(Layout, OversizedLayoutsAreRefused) {
  const auto nested = [](int depth) {
    return std::string(static_cast<std::size_t>(depth), '(') + "'ab', I1" +
           std::string(static_cast<std::size_t>(depth), ')');
  };
  EXPECT_EQ(FormatLayout(nested(kMaxGroupDepth), std::vector<FieldValue>{1}), "ab1\n");
  const std::string longLiteral = "'" + std::string(5000, 'x') + "'*1000";
  const std::string manyGroups = "1000(1000(1000(1000(\"x\"))))";
  for (const std::string& layout :
       {longLiteral, manyGroups, nested(kMaxGroupDepth + 1), nested(100000)}) {
    const std::string out = FormatLayout(layout, std::vector<FieldValue>{1});
    EXPECT_EQ(out, layout + " 1\n") << layout.substr(0, 40);
  }
}

// Random layout texts built from the notation's own characters never crash
// and always end their output with a line end.
TEST(Layout, RandomLayoutTextsNeverCrash) {
  static constexpr std::string_view kPieces[] = {
      "1", "2", "9", "0", "12", "X", "A",        "I", "F", "E",  "PE",   "P",   ".", ",",
      "/", "(", ")", "'", "\"", "*", "\xC3\x97", " ", "x", "i5", "E9.2", "'='", "3("};
  const float inf = std::numeric_limits<float>::infinity();
  const std::vector<FieldValue> values = {1, -2.5f, "text", inf, 0.0f, -7, 1e-30f, "  "};
  std::mt19937 random(1234);
  for (int i = 0; i < 20000; ++i) {
    std::string layout;
    const int pieces = static_cast<int>(random() % 12);
    for (int p = 0; p < pieces; ++p) layout += kPieces[random() % std::size(kPieces)];
    const std::size_t count = random() % (values.size() + 1);
    const std::string out = FormatLayout(layout, std::span<const FieldValue>(values.data(), count));
    ASSERT_FALSE(out.empty()) << layout;
    ASSERT_EQ(out.back(), '\n') << layout;
  }
}

// Layouts are compiled once and looked up by their text, not by address.
TEST(Layout, SameBufferWithNewTextIsCompiledAnew) {
  std::string layout = "I3";
  EXPECT_EQ(FormatLayout(layout, std::vector<FieldValue>{5}), "  5\n");
  layout[1] = '4';
  EXPECT_EQ(FormatLayout(layout, std::vector<FieldValue>{5}), "   5\n");
  EXPECT_EQ(FormatLayout("I3", std::vector<FieldValue>{5}), "  5\n");
}

// Thousands of distinct layouts built at run time stay correct beyond the
// number of layouts kept compiled.
TEST(Layout, ManyDistinctLayouts) {
  for (int i = 0; i < 5000; ++i) {
    const std::string layout = "'" + std::to_string(i) + "', I2";
    ASSERT_EQ(FormatLayout(layout, std::vector<FieldValue>{i % 10}),
              std::to_string(i) + " " + std::to_string(i % 10) + "\n");
  }
  EXPECT_EQ(FormatLayout("'#', I2", std::vector<FieldValue>{3}), "# 3\n");
}

TEST(Layout, AppendsToExistingText) {
  std::string out = "kept\n";
  const std::vector<FieldValue> values = {1};
  AppendLayout(out, "I2", values);
  AppendLayout(out, "I2", values);
  EXPECT_EQ(out, "kept\n 1\n 1\n");
}

TEST(FreeFormat, IntegersRealsAndTexts) {
  const struct {
    std::vector<FieldValue> values;
    std::string expected;
  } cases[] = {
      {{100, 0, 1}, " 100 0 1\n"},
      {{4, 20.0f}, " 4 20\n"},
      {{-3, 0.1f, 2.5f}, " -3 0.1 2.5\n"},
      {{"NSTR", 12}, " NSTR 12\n"},
      {{}, "\n"},
  };
  for (const auto& c : cases) {
    std::string out;
    AppendFree(out, c.values);
    EXPECT_EQ(out, c.expected);
  }
}

// A free-format line longer than any buffer keeps every word in order.
TEST(FreeFormat, LongLinesKeepEveryWord) {
  std::vector<FieldValue> values;
  std::string expected;
  for (int i = 0; i < 300; ++i) {
    values.emplace_back(i % 3 == 0   ? FieldValue(std::numeric_limits<std::int32_t>::min())
                        : i % 3 == 1 ? FieldValue(-1.17549435e-38f)
                                     : FieldValue("w"));
    expected += i % 3 == 0 ? " -2147483648" : i % 3 == 1 ? " -1.1754944e-38" : " w";
  }
  std::string out;
  AppendFree(out, values);
  EXPECT_EQ(out, expected + "\n");
}

// Every real in a free-format line reads back to the same 32-bit value.
TEST(FreeFormat, RealsReadBackExactly) {
  const float reals[] = {0.1f,   1.0f / 3.0f, -123.456f, 1e-5f,    3.4028235e38f, 1.17549435e-38f,
                         1e-45f, 16777217.0f, 0.3f,      -2.5e10f, 999999.94f,    7.0f};
  for (float real : reals) {
    std::string out;
    const std::vector<FieldValue> values = {real};
    AppendFree(out, values);
    ASSERT_EQ(out.front(), ' ');
    ASSERT_EQ(out.back(), '\n');
    EXPECT_EQ(std::strtof(out.c_str(), nullptr), real) << out;
  }
}

}  // namespace
}  // namespace korvan
