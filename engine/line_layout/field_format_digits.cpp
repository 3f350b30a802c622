#include "field_format_digits.h"

namespace korvan::digits_detail {

namespace {

__extension__ typedef unsigned __int128 Uint128;

constexpr std::array<std::uint64_t, 23> kPowersOfFive = PowersOf<23>(5);

// A positive double as m·2^e.
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

constexpr double NextDouble(double x, int step) {
  return std::bit_cast<double>(std::bit_cast<std::uint64_t>(x) + static_cast<std::uint64_t>(step));
}

constexpr std::array<double, 45> PowerThresholds() {
  std::array<double, 45> thresholds{};
  for (int j = -22; j <= 22; ++j) {
    double t = kScales[static_cast<std::size_t>(j + 22)];
    if (j < 0) {
      // Whichever way the nearest double lies, move to the smallest one
      // that is not below 10^j.
      while (!ReachesNegativePowerOfTen(t, -j)) t = NextDouble(t, 1);
      while (ReachesNegativePowerOfTen(NextDouble(t, -1), -j)) t = NextDouble(t, -1);
    }
    thresholds[static_cast<std::size_t>(j + 22)] = t;
  }
  return thresholds;
}

}  // namespace

constinit const std::array<double, 45> kPowerThresholds = PowerThresholds();

// magnitude = m·2^e and 10^power = 5^power·2^power, so the scaled value is
// an integer times a power of two, or one divided by 5^q.
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

}  // namespace korvan::digits_detail
