// The decimal digits of the fast field path: a value scaled by a power of ten
// and rounded to an integer, to nearest with halves away from zero on the
// exact binary value, like the general path. One double operation decides
// nearly every value; a scaled value near a half is decided from the exact
// binary value with integer arithmetic. Inline: a field calls these for
// every value it writes.
#pragma once

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>

namespace korvan {

namespace digits_detail {

// base^0, base^1, … base^(N-1).
template <std::size_t N>
constexpr std::array<std::uint64_t, N> PowersOf(std::uint64_t base) {
  std::array<std::uint64_t, N> powers{};
  std::uint64_t power = 1;
  for (std::uint64_t& p : powers) {
    p = power;
    power *= base;
  }
  return powers;
}

inline constexpr std::array<std::uint64_t, 20> kIntegerPowers = PowersOf<20>(10);

// 10^p for -22 <= p <= 22 (index p + 22): exact from 10^0 up, below that the
// nearest double (relative error at most 2^-53).
inline constexpr std::array<double, 45> kScales = {
    1e-22, 1e-21, 1e-20, 1e-19, 1e-18, 1e-17, 1e-16, 1e-15, 1e-14, 1e-13, 1e-12, 1e-11,
    1e-10, 1e-9,  1e-8,  1e-7,  1e-6,  1e-5,  1e-4,  1e-3,  1e-2,  1e-1,  1e0,   1e1,
    1e2,   1e3,   1e4,   1e5,   1e6,   1e7,   1e8,   1e9,   1e10,  1e11,  1e12,  1e13,
    1e14,  1e15,  1e16,  1e17,  1e18,  1e19,  1e20,  1e21,  1e22};

// For -22 <= j <= 22 (index j + 22) the smallest double not below 10^j: a
// double reaches 10^j exactly when it reaches this one.
extern const std::array<double, 45> kPowerThresholds;

inline constexpr double kLimit = 1099511627776.0;       // 2^40
inline constexpr double kTwoTo52 = 4503599627370496.0;  // adding it rounds below 2^52 to an integer
// The scale and the product are each rounded once, so below 2^40 the scaled
// value is off by less than 2^-11. One farther than 2^-9 from a half rounds
// as the exact value does; nearer ones are decided from the exact value.
inline constexpr double kMargin = 1.0 / 512.0;  // 2^-9

// round(magnitude · 10^power) from the exact binary value (|power| <= 22,
// result below 2^41).
std::uint64_t RoundExactly(double magnitude, int power);

}  // namespace digits_detail

// 10^n for 0 <= n <= 19.
inline std::uint64_t PowerOfTenInteger(int n) {
  return digits_detail::kIntegerPowers[static_cast<std::size_t>(n)];
}

// The number of decimal digits of n (1 for 0).
inline int DecimalDigitCount(std::uint64_t n) {
  if (n < 10) return 1;
  // floor(log10) from the bit width, one too small at most.
  const int estimate = (static_cast<int>(std::bit_width(n)) * 1233) >> 12;
  return estimate + (n >= PowerOfTenInteger(estimate) ? 1 : 0);
}

// round(magnitude · 10^power) into `rounded`. False (nothing decided) when
// |power| > 22 or when the result would reach 2^40. `magnitude` is finite
// and not negative.
inline bool RoundScaled(double magnitude, int power, std::uint64_t& rounded) {
  using namespace digits_detail;
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

// The magnitude rounded to `significant` digits (1..12): `digits` holds
// exactly that many, d·10^exponent being the first of them (a value that
// rounds up to a new digit, as 9.9995 to four, gives 1000 and the next
// exponent). False when the magnitude lies beyond 10^±22 or so, where
// RoundScaled decides nothing. `magnitude` is finite and greater than zero.
inline bool RoundSignificant(double magnitude, int significant, std::uint64_t& digits,
                             int& exponent) {
  // floor(log10) of the binary exponent's power of two; the magnitude's
  // decimal exponent is this or one more.
  const int binary =
      static_cast<int>((std::bit_cast<std::uint64_t>(magnitude) >> 52) & 0x7FF) - 1023;
  int decimal = (binary * 78913) >> 18;
  if (decimal < -23 || decimal > 21) return false;
  if (magnitude >= digits_detail::kPowerThresholds[static_cast<std::size_t>(decimal + 23)]) {
    ++decimal;
  }
  std::uint64_t rounded = 0;
  if (!RoundScaled(magnitude, significant - 1 - decimal, rounded)) return false;
  const std::uint64_t low = PowerOfTenInteger(significant - 1);
  const std::uint64_t high = PowerOfTenInteger(significant);
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
