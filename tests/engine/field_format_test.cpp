// The fast field path (Write…Field) against the general path (Append…Field):
// the same bytes for every kind of field and value, exactly `width` of them
// and not one byte outside the field.
#include "field_format.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "field_format_digits.h"

namespace korvan {
namespace {

enum class Kind { Text, Integer, Fixed, Exponent, ScaledExponent };

struct FieldSpec {
  const char* name;
  Kind kind;
  int width;
  int digits;
};

// Every numeric field of the report and plot file, and a few more shapes.
constexpr FieldSpec kSpecs[] = {
    {"F6.1", Kind::Fixed, 6, 1},
    {"F10.3", Kind::Fixed, 10, 3},
    {"F7.3", Kind::Fixed, 7, 3},
    {"F4.0", Kind::Fixed, 4, 0},
    {"F12.5", Kind::Fixed, 12, 5},
    {"F30.9", Kind::Fixed, 30, 9},
    {"F40.22", Kind::Fixed, 40, 22},
    {"F50.23", Kind::Fixed, 50, 23},
    {"E16.4", Kind::Exponent, 16, 4},
    {"E10.3", Kind::Exponent, 10, 3},
    {"E9.2", Kind::Exponent, 9, 2},
    {"E8.0", Kind::Exponent, 8, 0},
    {"E20.12", Kind::Exponent, 20, 12},
    {"E22.14", Kind::Exponent, 22, 14},
    {"PE10.3", Kind::ScaledExponent, 10, 3},
    {"PE15.4", Kind::ScaledExponent, 15, 4},
    {"PE17.4", Kind::ScaledExponent, 17, 4},
    {"PE23.4", Kind::ScaledExponent, 23, 4},
    {"PE9.4", Kind::ScaledExponent, 9, 4},
    {"PE7.0", Kind::ScaledExponent, 7, 0},
    {"PE20.11", Kind::ScaledExponent, 20, 11},
    {"PE24.15", Kind::ScaledExponent, 24, 15},
    {"I5", Kind::Integer, 5, 0},
    {"I11", Kind::Integer, 11, 0},
    {"I2.2", Kind::Integer, 2, 2},
    {"I60.45", Kind::Integer, 60, 45},
    {"A5", Kind::Text, 5, 0},
};

std::string General(const FieldSpec& spec, const FieldValue& value) {
  std::string out;
  switch (spec.kind) {
    case Kind::Text:
      AppendTextField(out, value, spec.width);
      break;
    case Kind::Integer:
      AppendIntegerField(out, value, spec.width, spec.digits);
      break;
    case Kind::Fixed:
      AppendFixedField(out, value, spec.width, spec.digits);
      break;
    case Kind::Exponent:
    case Kind::ScaledExponent:
      AppendExponentField(out, value, spec.width, spec.digits, spec.kind == Kind::ScaledExponent);
      break;
  }
  return out;
}

// The fast path into the middle of a guarded buffer; a byte written outside
// the field or a wrong end shows in the result.
std::string Fast(const FieldSpec& spec, const FieldValue& value) {
  constexpr std::size_t kGuard = 32;
  const auto width = static_cast<std::size_t>(spec.width);
  std::string buffer(width + 2 * kGuard, '#');
  char* const at = buffer.data() + kGuard;
  char* end = nullptr;
  switch (spec.kind) {
    case Kind::Text:
      end = WriteTextField(at, value, spec.width);
      break;
    case Kind::Integer:
      end = WriteIntegerField(at, value, spec.width, spec.digits);
      break;
    case Kind::Fixed:
      end = WriteFixedField(at, value, spec.width, spec.digits);
      break;
    case Kind::Exponent:
    case Kind::ScaledExponent:
      end =
          WriteExponentField(at, value, spec.width, spec.digits, spec.kind == Kind::ScaledExponent);
      break;
  }
  if (end != at + width) return "wrong end";
  if (buffer.find_first_not_of('#') != kGuard || buffer.find_last_not_of('#') != kGuard + width - 1)
    return "wrote outside the field: " + buffer;
  return buffer.substr(kGuard, width);
}

void ExpectSameBytes(const std::vector<FieldValue>& values) {
  for (const FieldSpec& spec : kSpecs) {
    int differences = 0;
    for (const FieldValue& value : values) {
      const std::string expected = General(spec, value);
      const std::string actual = Fast(spec, value);
      if (actual == expected) continue;
      if (++differences > 10) break;  // enough to see the pattern
      ADD_FAILURE() << spec.name << " of "
                    << (value.kind() == FieldValue::Kind::Integer
                            ? std::to_string(value.integer())
                            : std::to_string(static_cast<double>(value.real())))
                    << " (bits 0x" << std::hex << std::bit_cast<std::uint32_t>(value.real())
                    << std::dec << "): general \"" << expected << "\", fast \"" << actual << "\"";
    }
  }
}

std::vector<FieldValue> WithNegatives(const std::vector<float>& reals) {
  std::vector<FieldValue> values;
  for (const float real : reals) {
    values.emplace_back(real);
    values.emplace_back(-real);
  }
  return values;
}

TEST(FieldPaths, AgreeOnRandomRealsOverTheWholeRange) {
  std::mt19937 random(20240611);
  std::vector<FieldValue> values;
  for (int i = 0; i < 20000; ++i) {
    values.emplace_back(std::bit_cast<float>(static_cast<std::uint32_t>(random())));
  }
  // And as many of the sizes that fill the files: 1e-6 to 1e7.
  std::uniform_real_distribution<float> logMagnitude(-6.0f, 7.0f);
  for (int i = 0; i < 20000; ++i) {
    const float magnitude = std::pow(10.0f, logMagnitude(random));
    values.emplace_back(i % 2 ? magnitude : -magnitude);
  }
  ExpectSameBytes(values);
}

// Exactly halfway values: n/2^k with n odd ends in a decimal 5 at the k-th
// decimal, so every field meets its own halfway cases among them.
TEST(FieldPaths, AgreeOnExactHalfwayCases) {
  std::mt19937 random(7);
  std::vector<float> reals = {0.5f, 2.5f, 0.25f, 0.125f, 1.0625f, 9.5f, 99.5f, 12345.0f, 123.25f};
  for (int k = 0; k <= 24; ++k) {
    for (int i = 0; i < 200; ++i) {
      const auto odd = static_cast<float>((random() % (1u << 23)) | 1u);
      reals.push_back(std::ldexp(odd, -k));
      reals.push_back(std::ldexp(static_cast<float>(2 * i + 1), -k));
    }
  }
  // Integers ending in 5, and those times a power of ten, are halfway at one
  // digit less than they have: scaled down by a power of ten that a double
  // cannot hold exactly.
  for (int i = 0; i < 3000; ++i) {
    for (std::uint32_t n = 10 * (random() % 1000000) + 5; n < (1u << 24); n *= 10) {
      reals.push_back(static_cast<float>(n));
    }
  }
  ExpectSameBytes(WithNegatives(reals));
}

// Values on both sides of the point where rounding adds a digit (9.9995 in
// F7.3 or PE10.3) and of the point where a field overflows into asterisks.
TEST(FieldPaths, AgreeAtNewDigitsAndOverflowLimits) {
  std::vector<float> reals;
  for (int exponent = -20; exponent <= 20; ++exponent) {
    for (const double mantissa : {1.0, 9.5, 9.95, 9.995, 9.9995, 9.99995, 9.999995}) {
      const auto center = static_cast<float>(mantissa * std::pow(10.0, exponent));
      float below = center, above = center;
      for (int step = 0; step < 3; ++step) {
        reals.push_back(below);
        reals.push_back(above);
        below = std::nextafter(below, 0.0f);
        above = std::nextafter(above, std::numeric_limits<float>::infinity());
      }
    }
  }
  // F10.3 holds 999999.999 at most and -99999.999 at least.
  for (const float limit : {999999.9375f, 1000000.0f, 99999.9921875f, 100000.0f, 9999.95f}) {
    reals.push_back(limit);
  }
  ExpectSameBytes(WithNegatives(reals));
}

TEST(FieldPaths, AgreeOnZerosDenormalsExtremesAndOtherKinds) {
  constexpr float kMax = std::numeric_limits<float>::max();
  constexpr float kMin = std::numeric_limits<float>::min();
  constexpr float kTiny = std::numeric_limits<float>::denorm_min();
  std::vector<FieldValue> values =
      WithNegatives({0.0f, 0.04f, 0.4f, 0.0004f, 1e-30f, kTiny, 3 * kTiny, kMin,
                     std::nextafter(kMin, 0.0f), kMax, std::nextafter(kMax, 0.0f), 1e22f, 1e23f});
  const float inf = std::numeric_limits<float>::infinity();
  for (const FieldValue value :
       {FieldValue(inf), FieldValue(-inf), FieldValue(std::numeric_limits<float>::quiet_NaN()),
        FieldValue(0), FieldValue(-1), FieldValue(7), FieldValue(99999), FieldValue(-100000),
        FieldValue(std::numeric_limits<Int>::max()), FieldValue(std::numeric_limits<Int>::min()),
        FieldValue("text"), FieldValue(""), FieldValue("a longer text"), FieldValue(2.5f),
        FieldValue(-2.5f), FieldValue(1e18f), FieldValue(-9.2e18f)}) {
    values.push_back(value);
  }
  ExpectSameBytes(values);
}

// The fast path decides the values of the report and plot file itself,
// exact halfway cases included; only values beyond its range are left.
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
  std::uint64_t rounded = 0;
  ASSERT_TRUE(RoundScaled(0.25, 1, rounded));  // exactly halfway
  EXPECT_EQ(rounded, 3u);
  ASSERT_TRUE(RoundScaled(12345.0, -1, rounded));
  EXPECT_EQ(rounded, 1235u);
  ASSERT_TRUE(RoundScaled(999999.9375, 3, rounded));
  EXPECT_EQ(rounded, 999999938u);
  EXPECT_FALSE(RoundScaled(1e30, 0, rounded));
  EXPECT_FALSE(RoundScaled(1.0, 23, rounded));
}

}  // namespace
}  // namespace korvan
