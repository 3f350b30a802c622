#include "field_format_digits.h"

#include <array>
#include <bit>
#include <cmath>

namespace korvan {

namespace {

__extension__ typedef unsigned __int128 Uint128;

// Powers of ten that a double holds exactly.
constexpr std::array<double, 23> kExactPowers = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                                 1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                                 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

constexpr std::array<std::uint64_t, 23> kPowersOfFive = [] {
  std::array<std::uint64_t, 23> powers{};
  std::uint64_t power = 1;
  for (std::uint64_t& p : powers) {
    p = power;
    power *= 5;
  }
  return powers;
}();

constexpr std::array<std::uint64_t, 20> kIntegerPowers = [] {
  std::array<std::uint64_t, 20> powers{};
  std::uint64_t power = 1;
  for (std::uint64_t& p : powers) {
    p = power;
    power *= 10;
  }
  return powers;
}();

// A positive normal double as m·2^e.
struct BinaryValue {
  std::uint64_t m;
  int e;
};

constexpr BinaryValue Decompose(double x) {
  const auto bits = std::bit_cast<std::uint64_t>(x);
  const auto biased = static_cast<int>(bits >> 52);
  const std::uint64_t fraction = bits & ((std::uint64_t{1} << 52) - 1);
  if (biased == 0) return {fraction, -1074};
  return {fraction | (std::uint64_t{1} << 52), biased - 1075};
}

// x >= 10^-q exactly, for 0 < q <= 22: m·2^e·10^q >= 1, that is
// m·5^q >= 2^-(e+q).
constexpr bool ReachesNegativePowerOfTen(double x, int q) {
  const BinaryValue v = Decompose(x);
  const int shift = -(v.e + q);
  if (shift <= 0) return true;
  if (shift >= 128) return false;
  return Uint128{v.m} * kPowersOfFive[static_cast<std::size_t>(q)] >= Uint128{1} << shift;
}

// For -22 <= j <= 22 (index j + 22) the smallest double not below 10^j: a
// double reaches 10^j exactly when it reaches this one.
constexpr std::array<double, 45> kPowerThresholds = [] {
  std::array<double, 45> thresholds{};
  for (int j = -22; j <= 22; ++j) {
    double t = j >= 0 ? kExactPowers[static_cast<std::size_t>(j)]
                      : 1.0 / kExactPowers[static_cast<std::size_t>(-j)];
    if (j < 0) {
      const auto step = [](double x, int by) {
        return std::bit_cast<double>(std::bit_cast<std::uint64_t>(x) + by);
      };
      while (!ReachesNegativePowerOfTen(t, -j)) t = step(t, 1);
      while (ReachesNegativePowerOfTen(step(t, -1), -j)) t = step(t, -1);
    }
    thresholds[static_cast<std::size_t>(j + 22)] = t;
  }
  return thresholds;
}();

// round(magnitude · 10^power) from the exact binary value, for a scaled value
// too near a half for the double operation to decide (|power| <= 22, result
// below 2^41). magnitude = m·2^e and 10^power = 5^power·2^power, so the
// scaled value is an integer times a power of two, or one divided by 5^q.
std::uint64_t RoundExactly(double magnitude, int power) {
  const BinaryValue v = Decompose(magnitude);
  if (power >= 0) {
    // m·5^p·2^(e+p), below 2^105.
    const Uint128 scaled = Uint128{v.m} * kPowersOfFive[static_cast<std::size_t>(power)];
    const int shift = -(v.e + power);
    if (shift <= 0) return static_cast<std::uint64_t>(scaled << -shift);
    if (shift > 106) return 0;  // below 2^-1
    const Uint128 whole = scaled >> shift;
    const Uint128 rest = scaled - (whole << shift);
    const Uint128 half = Uint128{1} << (shift - 1);
    return static_cast<std::uint64_t>(whole) + (rest >= half ? 1 : 0);
  }
  // m·2^(e-q) / 5^q: 5^q is odd, so a remainder is never exactly half of it
  // unless a power of two is left in the divisor.
  const int shift = v.e + power;
  Uint128 numerator = v.m;
  Uint128 divisor = kPowersOfFive[static_cast<std::size_t>(-power)];
  if (shift >= 0) {
    numerator <<= shift;  // below 2^41·5^22 < 2^93
  } else {
    if (-shift > 75) return 0;  // below 2^53 / 2^76
    divisor <<= -shift;
  }
  const Uint128 whole = numerator / divisor;
  const Uint128 rest = numerator - whole * divisor;
  return static_cast<std::uint64_t>(whole) + (2 * rest >= divisor ? 1 : 0);
}

// 10^p for -22 <= p <= 22 (index p + 22): exact from 10^0 up, the nearest
// double (relative error at most 2^-53).
constexpr std::array<double, 45> kScales = {
    1e-22, 1e-21, 1e-20, 1e-19, 1e-18, 1e-17, 1e-16, 1e-15, 1e-14, 1e-13, 1e-12, 1e-11,
    1e-10, 1e-9,  1e-8,  1e-7,  1e-6,  1e-5,  1e-4,  1e-3,  1e-2,  1e-1,  1e0,   1e1,
    1e2,   1e3,   1e4,   1e5,   1e6,   1e7,   1e8,   1e9,   1e10,  1e11,  1e12,  1e13,
    1e14,  1e15,  1e16,  1e17,  1e18,  1e19,  1e20,  1e21,  1e22};

constexpr double kLimit = 1099511627776.0;       // 2^40
constexpr double kTwoTo52 = 4503599627370496.0;  // adding it rounds below 2^52 to an integer
// The scale and the product are each rounded once, so below 2^40 the scaled
// value is off by less than 2^-11. One farther than 2^-9 from a half rounds
// as the exact value; nearer ones are decided from the exact value.
constexpr double kMargin = 1.0 / 512.0;  // 2^-9

}  // namespace

std::uint64_t PowerOfTenInteger(int n) {
  return kIntegerPowers[static_cast<std::size_t>(n)];
}

int DecimalDigitCount(std::uint64_t n) {
  if (n < 10) return 1;
  // floor(log10) from the bit width, one too small at most.
  const int estimate = (static_cast<int>(std::bit_width(n)) * 1233) >> 12;
  return estimate + (n >= kIntegerPowers[static_cast<std::size_t>(estimate)] ? 1 : 0);
}

bool RoundScaled(double magnitude, int power, std::uint64_t& rounded) {
  if (power > 22 || power < -22) return false;
  const double scaled = magnitude * kScales[static_cast<std::size_t>(power + 22)];
  if (!(scaled < kLimit)) return false;
  // The nearest integer lands in the low bits of the sum; the offset from it
  // is exact.
  const double shifted = scaled + kTwoTo52;
  const std::uint64_t nearest =
      std::bit_cast<std::uint64_t>(shifted) - std::bit_cast<std::uint64_t>(kTwoTo52);
  const double offset = scaled - (shifted - kTwoTo52);
  rounded = std::fabs(offset) >= 0.5 - kMargin ? RoundExactly(magnitude, power) : nearest;
  return true;
}

bool RoundSignificant(double magnitude, int significant, std::uint64_t& digits, int& exponent) {
  // floor(log10) of the binary exponent's power of two; the magnitude's
  // decimal exponent is this or one more.
  const int binary =
      static_cast<int>((std::bit_cast<std::uint64_t>(magnitude) >> 52) & 0x7FF) - 1023;
  int decimal = (binary * 78913) >> 18;
  if (decimal < -23 || decimal > 21) return false;
  if (magnitude >= kPowerThresholds[static_cast<std::size_t>(decimal + 1 + 22)]) ++decimal;
  std::uint64_t rounded = 0;
  if (!RoundScaled(magnitude, significant - 1 - decimal, rounded)) return false;
  const std::uint64_t low = kIntegerPowers[static_cast<std::size_t>(significant - 1)];
  const std::uint64_t high = kIntegerPowers[static_cast<std::size_t>(significant)];
  if (rounded < low || rounded > high) return false;  // cannot happen; never guess
  if (rounded == high) {
    // Rounded up to a new digit, as 9.9995 to four digits.
    rounded = low;
    ++decimal;
  }
  digits = rounded;
  exponent = decimal;
  return true;
}

}  // namespace korvan
