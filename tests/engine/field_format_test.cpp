// The fast field path (Write…Field) against the general path (Append…Field):
// the same bytes for every kind of field and value, exactly `width` of them
// and not one byte outside the field.
#include "engine/line_layout/field_format.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "engine/line_layout/field_format_digits.h"
#include "engine/line_layout/field_format_fast.h"

namespace korvan {
namespace {

enum class Kind { Text, Integer, Fixed, Exponent, Scaled };

struct FieldEdit {
  const char* name;
  Kind kind;
  int width;
  int digits;
};

// The numeric fields of the report and plot file, the widths where the
// exponent form of a number too wide loses its decimals and its point, and
// the shapes at and beyond the fast path's limits (22 decimals, 12 digits,
// long digit runs).
constexpr FieldEdit kEdits[] = {
    {"F6.1", Kind::Fixed, 6, 1},        {"F10.3", Kind::Fixed, 10, 3},
    {"F7.3", Kind::Fixed, 7, 3},        {"F4.0", Kind::Fixed, 4, 0},
    {"F40.22", Kind::Fixed, 40, 22},    {"F50.23", Kind::Fixed, 50, 23},
    {"E16.4", Kind::Exponent, 16, 4},   {"E10.3", Kind::Exponent, 10, 3},
    {"E9.2", Kind::Exponent, 9, 2},     {"E8.0", Kind::Exponent, 8, 0},
    {"E22.14", Kind::Exponent, 22, 14}, {"PE10.3", Kind::Scaled, 10, 3},
    {"PE15.4", Kind::Scaled, 15, 4},    {"PE9.4", Kind::Scaled, 9, 4},
    {"PE7.0", Kind::Scaled, 7, 0},      {"PE20.11", Kind::Scaled, 20, 11},
    {"F5.1", Kind::Fixed, 5, 1},        {"F7.2", Kind::Fixed, 7, 2},
    {"I5", Kind::Integer, 5, 0},        {"I2.2", Kind::Integer, 2, 2},
    {"I6", Kind::Integer, 6, 0},        {"I10", Kind::Integer, 10, 0},
    {"I60.45", Kind::Integer, 60, 45},  {"A5", Kind::Text, 5, 0},
};

std::string General(const FieldEdit& edit, const FieldValue& value) {
  std::string out;
  if (edit.kind == Kind::Text) AppendTextField(out, value, edit.width);
  if (edit.kind == Kind::Integer) AppendIntegerField(out, value, edit.width, edit.digits);
  if (edit.kind == Kind::Fixed) AppendFixedField(out, value, edit.width, edit.digits);
  if (edit.kind == Kind::Exponent || edit.kind == Kind::Scaled) {
    AppendExponentField(out, value, edit.width, edit.digits, edit.kind == Kind::Scaled);
  }
  return out;
}

// The fast path into the middle of a guarded buffer, so that a byte written
// outside the field or a wrong end shows in the result.
std::string Fast(const FieldEdit& edit, const FieldValue& value) {
  constexpr int kGuard = 32;
  std::string buffer(static_cast<std::size_t>(edit.width + 2 * kGuard), '#');
  char* const at = buffer.data() + kGuard;
  char* end = nullptr;
  if (edit.kind == Kind::Text) end = WriteTextField(at, value, edit.width);
  if (edit.kind == Kind::Integer) end = WriteIntegerField(at, value, edit.width, edit.digits);
  if (edit.kind == Kind::Fixed) end = WriteFixedField(at, value, edit.width, edit.digits);
  if (edit.kind == Kind::Exponent || edit.kind == Kind::Scaled) {
    end = WriteExponentField(at, value, edit.width, edit.digits, edit.kind == Kind::Scaled);
  }
  const std::string guards = buffer.substr(0, kGuard) + buffer.substr(buffer.size() - kGuard);
  if (end != at + edit.width || guards != std::string(2 * kGuard, '#')) return "overrun " + buffer;
  return buffer.substr(kGuard, static_cast<std::size_t>(edit.width));
}

void ExpectSameBytes(const std::vector<FieldValue>& values) {
  for (const FieldEdit& edit : kEdits) {
    int differences = 0;
    for (const FieldValue& value : values) {
      const std::string expected = General(edit, value), actual = Fast(edit, value);
      if (actual == expected || ++differences > 10) continue;  // ten show the pattern
      ADD_FAILURE() << edit.name << " of real " << value.real() << " (bits 0x" << std::hex
                    << std::bit_cast<std::uint32_t>(value.real()) << std::dec << ") or integer "
                    << value.integer() << ": general \"" << expected << "\", fast \"" << actual
                    << "\"";
    }
  }
}

std::vector<FieldValue> WithNegatives(const std::vector<float>& reals) {
  std::vector<FieldValue> values;
  for (const float real : reals) values.insert(values.end(), {real, -real});
  return values;
}

TEST(FieldPaths, AgreeOnRandomRealsOverTheWholeRange) {
  std::mt19937 random(20240611);
  std::uniform_real_distribution<float> logMagnitude(-6.0f, 7.0f);  // the files' sizes
  std::vector<float> reals;
  for (int i = 0; i < 20000; ++i) {
    reals.push_back(std::bit_cast<float>(static_cast<std::uint32_t>(random())));
    reals.push_back(std::pow(10.0f, logMagnitude(random)));
  }
  ExpectSameBytes(WithNegatives(reals));
}

// n/2^k with n odd ends in a decimal 5 at its k-th decimal, and an integer
// ending in 5, times a power of ten, is halfway at one digit less than it
// has: every field meets its own halfway cases among these.
TEST(FieldPaths, AgreeOnExactHalfwayCases) {
  std::mt19937 random(7);
  std::vector<float> reals = {0.25f, 2.5f, 0.125f, 1.0625f, 99.5f, 123.25f, 999999.9375f};
  for (int k = 0; k <= 24; ++k) {
    for (int i = 0; i < 200; ++i) {
      reals.push_back(std::ldexp(static_cast<float>((random() % (1u << 23)) | 1u), -k));
      reals.push_back(std::ldexp(static_cast<float>(2 * i + 1), -k));
    }
  }
  for (int i = 0; i < 3000; ++i) {
    for (std::uint32_t n = 10 * (random() % 1000000) + 5; n < (1u << 24); n *= 10) {
      reals.push_back(static_cast<float>(n));
    }
  }
  ExpectSameBytes(WithNegatives(reals));
}

// Both sides of the values that round up to a new digit (9.9995 in F7.3 or
// PE10.3) and of the overflow limits (F10.3 holds 999999.999 at most and
// -99999.999 at least), negative values that round to zero, zeros,
// denormals, the largest reals, and integers, infinities, NaN and texts.
TEST(FieldPaths, AgreeAtNewDigitsLimitsAndExtremes) {
  constexpr float kMax = std::numeric_limits<float>::max();
  constexpr float kInf = std::numeric_limits<float>::infinity();
  std::vector<float> reals = {0.0f,
                              0.04f,
                              0.4f,
                              4e-4f,
                              1e-30f,
                              1e22f,
                              1e23f,
                              kMax,
                              std::numeric_limits<float>::min(),
                              std::numeric_limits<float>::denorm_min(),
                              99999.9921875f,
                              1e5f};
  for (int exponent = -20; exponent <= 20; ++exponent) {
    for (const double mantissa : {1.0, 9.5, 9.95, 9.995, 9.9995, 9.99995, 9.999995}) {
      float below = static_cast<float>(mantissa * std::pow(10.0, exponent)), above = below;
      for (int step = 0; step < 3; ++step) {
        reals.insert(reals.end(), {below, above});
        below = std::nextafter(below, 0.0f);
        above = std::nextafter(above, kInf);
      }
    }
  }
  std::vector<FieldValue> values = WithNegatives(reals);
  values.insert(values.end(),
                {kInf, -kInf, std::numeric_limits<float>::quiet_NaN(), 0, -1, 99999, -100000,
                 std::numeric_limits<std::int32_t>::max(), std::numeric_limits<std::int32_t>::min(),
                 "text", "", "a longer text"});
  ExpectSameBytes(values);
}

// The fast path decides the values of the files itself (the agreement above
// would hold as well if it handed them all to the general path).
TEST(FieldPaths, FastPathDecidesTheValuesOfTheFiles) {
  std::mt19937 random(11);
  std::uniform_real_distribution<double> logMagnitude(-13.0, 20.0);
  for (int i = 0; i < 20000; ++i) {
    const auto real = static_cast<float>(std::pow(10.0, logMagnitude(random)));
    for (const int significant : {2, 4, 5, 9}) {
      std::uint64_t digits = 0;
      int exponent = 0;
      ASSERT_TRUE(RoundSignificant(real, significant, digits, exponent)) << real;
      EXPECT_GE(digits, PowerOfTenInteger(significant - 1));
      EXPECT_LT(digits, PowerOfTenInteger(significant));
    }
  }
}

}  // namespace
}  // namespace korvan
