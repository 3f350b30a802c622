#include "field_format.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>

#include "layout_program.h"

namespace korvan {

namespace {

// Room for the widest field and its digits (a double has at most 309 digits
// before the point).
constexpr std::size_t kBufferSize = 2 * kMaxFieldWidth + 400;

void AppendAsterisks(std::string& out, int width) {
  out.append(static_cast<std::size_t>(width), '*');
}

// The value of a numeric field as a double, which holds every 32-bit real
// and integer exactly. False for texts, infinities and NaN.
bool NumericValue(const FieldValue& value, double& x) {
  switch (value.kind()) {
    case FieldValue::Kind::Integer:
      x = value.integer();
      return true;
    case FieldValue::Kind::Real:
      x = value.real();
      return std::isfinite(x);
    case FieldValue::Kind::Text:
      break;
  }
  return false;
}

// Every binary fraction ends in a decimal 5. Gives the number of decimals
// before that last 5 (negative: a 5 left of the point, as in 25), so that
// rounding to exactly that many decimals is a halfway case, and the binary
// exponent of the value (floor of log2). False when the value's last decimal
// digit is not 5.
bool DecimalsBeforeLastFive(double x, int& decimals, int& binaryExponent) {
  const auto bits = std::bit_cast<std::uint64_t>(x);
  const auto biased = static_cast<int>((bits >> 52) & 0x7FF);
  std::uint64_t mantissa = bits & ((std::uint64_t{1} << 52) - 1);
  int exponent = -1074;
  if (biased != 0) {
    mantissa |= std::uint64_t{1} << 52;
    exponent = biased - 1075;
  }
  if (mantissa == 0) return false;
  binaryExponent = exponent + std::bit_width(mantissa) - 1;
  const int zeros = std::countr_zero(mantissa);
  mantissa >>= zeros;
  exponent += zeros;
  // x = mantissa * 2^exponent with an odd mantissa; x * 2 * 10^s is an odd
  // integer only for s = -(exponent + 1), and for negative s only when 5^-s
  // divides the mantissa.
  decimals = -(exponent + 1);
  for (int s = decimals; s < 0; ++s) {
    if (mantissa % 5 != 0) return false;
    mantissa /= 5;
  }
  return true;
}

// True when rounding x to `significant` digits is exactly halfway.
bool IsHalfwayAtSignificantDigits(double x, int significant) {
  int lastFive = 0;
  int binaryExponent = 0;
  if (x == 0 || !DecimalsBeforeLastFive(x, lastFive, binaryExponent)) return false;
  // The decimal exponent a halfway case needs; compared first with the
  // estimate from the binary exponent, which rules out nearly every value.
  const int needed = significant - 1 - lastFive;
  const int estimate = static_cast<int>(std::floor(binaryExponent * 0.30102999566398120));
  if (needed < estimate - 1 || needed > estimate + 1) return false;
  // Halfway values end in 5 and so are never exact powers of ten: the
  // logarithm gives their decimal exponent safely.
  return needed == static_cast<int>(std::floor(std::log10(std::fabs(x))));
}

// Moves a value that lies exactly halfway at the rounding position a tiny
// step away from zero, so that the correctly rounding conversion below
// rounds it away from zero on every platform.
double AwayFromZeroOnTie(double x) {
  return std::nextafter(x, x < 0 ? -std::numeric_limits<double>::infinity()
                                 : std::numeric_limits<double>::infinity());
}

// 10^n, exact up to 10^22; infinite beyond the range of double.
double PowerOfTen(int n) {
  static constexpr std::array<double, 23> kExact = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                                    1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                                    1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
  if (n < static_cast<int>(kExact.size())) return kExact[static_cast<std::size_t>(n)];
  return std::pow(10.0, n);
}

// A number too wide for its F or I field, in the width it has: the scaled
// exponent form d.dddE+xx with as many decimals as fit, or dE+xx when no
// decimal fits. Only a field too narrow for even that (fewer than five
// columns, six for a negative number) is filled with asterisks.
void AppendWideNumber(std::string& out, const FieldValue& value, int width) {
  constexpr int kExponentColumns = 4;  // E, sign, two digits
  double x = 0;
  NumericValue(value, x);
  const int mantissaColumns = width - (x < 0 ? 1 : 0) - kExponentColumns;
  if (mantissaColumns < 1) {
    AppendAsterisks(out, width);
    return;
  }
  const int decimals = mantissaColumns >= 3 ? mantissaColumns - 2 : 0;
  const int length = width - (mantissaColumns == 2 ? 1 : 0);
  std::string number;
  // Written with a point after the first digit; dropped when no decimal
  // follows it.
  AppendExponentField(number, value, length + (decimals == 0 ? 1 : 0), decimals, /*scaled=*/true);
  if (number.find('*') != std::string::npos) {
    AppendAsterisks(out, width);
    return;
  }
  if (decimals == 0) number.erase(number.find('.'), 1);
  out.append(static_cast<std::size_t>(width - length), ' ');
  out.append(number);
}

}  // namespace

void AppendTextField(std::string& out, const FieldValue& value, int width) {
  std::string number;
  std::string_view text;
  if (value.kind() == FieldValue::Kind::Text) {
    text = value.text();
  } else {
    AppendFreeWord(number, value);
    text = number;
  }
  if (width == 0) {
    const std::size_t end = text.find_last_not_of(' ');
    out.append(text.substr(0, end == std::string_view::npos ? 0 : end + 1));
    return;
  }
  const auto w = static_cast<std::size_t>(width);
  if (text.size() >= w) {
    out.append(text.substr(0, w));
  } else {
    out.append(text);
    out.append(w - text.size(), ' ');
  }
}

void AppendIntegerField(std::string& out, const FieldValue& value, int width, int minDigits) {
  std::int64_t n = 0;
  if (value.kind() == FieldValue::Kind::Integer) {
    n = value.integer();
  } else {
    double x = 0;
    if (!NumericValue(value, x)) {
      AppendAsterisks(out, width);
      return;
    }
    // Far beyond any field width, and safely inside the 64-bit range.
    if (std::fabs(x) >= 1e18) {
      AppendWideNumber(out, value, width);
      return;
    }
    n = std::llround(x);
  }
  std::array<char, 24> digits{};
  const std::uint64_t magnitude =
      n < 0 ? 0 - static_cast<std::uint64_t>(n) : static_cast<std::uint64_t>(n);
  const auto [end, ec] = std::to_chars(digits.data(), digits.data() + digits.size(), magnitude);
  const auto count = static_cast<int>(end - digits.data());
  const int zeros = std::max(0, minDigits - count);
  const int length = (n < 0 ? 1 : 0) + zeros + count;
  if (length > width) {
    // The rounded integer, exactly: a 32-bit one as it is, a larger one is
    // the real itself, which is whole beyond 2^24.
    const bool small = n >= INT32_MIN && n <= INT32_MAX;
    AppendWideNumber(out, small ? FieldValue(static_cast<int>(n)) : value, width);
    return;
  }
  out.append(static_cast<std::size_t>(width - length), ' ');
  if (n < 0) out += '-';
  out.append(static_cast<std::size_t>(zeros), '0');
  out.append(digits.data(), static_cast<std::size_t>(count));
}

void AppendFixedField(std::string& out, const FieldValue& value, int width, int decimals) {
  double x = 0;
  if (!NumericValue(value, x)) {
    AppendAsterisks(out, width);
    return;
  }
  // A value of 10^width or more cannot fit whatever its sign and decimals.
  if (std::fabs(x) >= PowerOfTen(width)) {
    AppendWideNumber(out, value, width);
    return;
  }
  int lastFive = 0;
  int binaryExponent = 0;
  if (DecimalsBeforeLastFive(x, lastFive, binaryExponent) && lastFive == decimals) {
    x = AwayFromZeroOnTie(x);
  }
  std::array<char, kBufferSize> buffer;
  auto [end, ec] = std::to_chars(buffer.data(), buffer.data() + buffer.size() - 1, x,
                                 std::chars_format::fixed, decimals);
  if (ec != std::errc()) {
    AppendAsterisks(out, width);
    return;
  }
  if (decimals == 0) *end++ = '.';  // F4.0 of 2.5 gives "  3."
  std::string_view text(buffer.data(), static_cast<std::size_t>(end - buffer.data()));
  if (text.front() == '-' && text.find_first_not_of("-0.") == std::string_view::npos) {
    text.remove_prefix(1);  // rounds to zero: no minus sign
  }
  if (text.size() > static_cast<std::size_t>(width)) {
    AppendWideNumber(out, value, width);
    return;
  }
  out.append(static_cast<std::size_t>(width) - text.size(), ' ');
  out.append(text);
}

void AppendExponentField(std::string& out, const FieldValue& value, int width, int decimals,
                         bool scaled) {
  double x = 0;
  if (!NumericValue(value, x)) {
    AppendAsterisks(out, width);
    return;
  }
  if (x == 0) x = 0;  // drops the sign of -0
  const int significant = scaled ? decimals + 1 : std::max(decimals, 1);
  if (IsHalfwayAtSignificantDigits(x, significant)) x = AwayFromZeroOnTie(x);
  std::array<char, kBufferSize> buffer;
  const auto [end, ec] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), x,
                                       std::chars_format::scientific, significant - 1);
  if (ec != std::errc()) {
    AppendAsterisks(out, width);
    return;
  }
  // buffer holds [-]d[.ddd]e(+|-)xx[x]
  const std::string_view text(buffer.data(), static_cast<std::size_t>(end - buffer.data()));
  const bool negative = text.front() == '-';
  const std::size_t e = text.find('e');
  const std::string_view mantissa = text.substr(negative ? 1 : 0, e - (negative ? 1 : 0));
  int exponent = 0;
  std::from_chars(text.data() + e + 2, text.data() + text.size(), exponent);
  if (text[e + 1] == '-') exponent = -exponent;
  if (!scaled && x != 0) exponent += 1;
  const int magnitude = std::abs(exponent);
  if (magnitude > 99) {
    AppendAsterisks(out, width);
    return;
  }
  // d.ddd or 0.dddd, then E, the exponent's sign and two digits.
  const auto length =
      static_cast<std::size_t>((negative ? 1 : 0) + significant + (scaled ? 1 : 2) + 4);
  if (length > static_cast<std::size_t>(width)) {
    AppendAsterisks(out, width);
    return;
  }
  out.append(static_cast<std::size_t>(width) - length, ' ');
  if (negative) out += '-';
  const std::string_view moreDigits = mantissa.size() > 2 ? mantissa.substr(2) : "";
  if (scaled) {
    out += mantissa.front();
    out += '.';
  } else {
    out += "0.";
    out += mantissa.front();
  }
  out.append(moreDigits);
  out += 'E';
  out += exponent < 0 ? '-' : '+';
  out += static_cast<char>('0' + magnitude / 10);
  out += static_cast<char>('0' + magnitude % 10);
}

char* WriteNumberWord(char* at, const FieldValue& value) {
  char* const last = at + kMaxNumberWordLength;
  if (value.kind() == FieldValue::Kind::Integer)
    return std::to_chars(at, last, value.integer()).ptr;
  return std::to_chars(at, last, value.real()).ptr;
}

void AppendFreeWord(std::string& out, const FieldValue& value) {
  if (value.kind() == FieldValue::Kind::Text) {
    out.append(value.text());
    return;
  }
  std::array<char, kMaxNumberWordLength> buffer;
  out.append(buffer.data(), WriteNumberWord(buffer.data(), value));
}

}  // namespace korvan
