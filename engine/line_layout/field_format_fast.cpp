// Each field's text is written backwards from the field's last column, so
// that it lands right-aligned without being copied, and the columns left of
// it are then filled with blanks.
#include "field_format_fast.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

#include "field_format.h"
#include "field_format_digits.h"
#include "short_copy.h"

namespace korvan {

namespace {

constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// Writes the `count` lowest decimal digits of n (leading zeros included)
// backwards, ending at `end`, which moves to their start; returns the
// digits above them.
std::uint64_t PutDigitsBackwards(char*& end, std::uint64_t n, int count) {
  for (; count >= 2; count -= 2) {
    end -= 2;
    std::memcpy(end, kDigitPairs + 2 * (n % 100), 2);
    n /= 100;
  }
  if (count == 1) {
    *--end = static_cast<char>('0' + n % 10);
    n /= 10;
  }
  return n;
}

// Blanks from `at` up to the start of the text; returns the field's end.
char* BlanksBefore(char* at, char* textStart, char* fieldEnd) {
  static constexpr char kBlanks[] = "                ";  // 16
  const auto count = static_cast<std::size_t>(textStart - at);
  if (count <= 16) {
    CopyShort(at, kBlanks, count);
  } else {
    std::memset(at, ' ', count);
  }
  return fieldEnd;
}

char* Asterisks(char* at, int width) {
  std::memset(at, '*', static_cast<std::size_t>(width));
  return at + width;
}

// The general path into the line: it appends exactly `width` characters.
// Kept out of the fast functions, which then need no frame for a string.
enum class FieldKind { Text, Integer, Fixed, Exponent, ScaledExponent };

[[gnu::noinline, gnu::cold]] char* ThroughGeneralPath(char* at, FieldKind kind,
                                                      const FieldValue& value, int width,
                                                      int digits) {
  std::string text;
  switch (kind) {
    case FieldKind::Text:
      AppendTextField(text, value, width);
      break;
    case FieldKind::Integer:
      AppendIntegerField(text, value, width, digits);
      break;
    case FieldKind::Fixed:
      AppendFixedField(text, value, width, digits);
      break;
    case FieldKind::Exponent:
    case FieldKind::ScaledExponent:
      AppendExponentField(text, value, width, digits, kind == FieldKind::ScaledExponent);
      break;
  }
  std::memcpy(at, text.data(), static_cast<std::size_t>(width));
  return at + width;
}

// A number too wide for its F or I field in the exponent form of its width
// (field_format.h): d.dddE+xx with as many decimals as fit, dE+xx when none
// does. Fields too narrow for that, and numbers whose digits the fast path
// does not decide, take the general path.
char* WriteWideNumber(char* at, double x, int width, FieldKind kind, const FieldValue& value,
                      int fieldDigits) {
  const bool negative = x < 0;
  const int mantissaColumns = width - (negative ? 1 : 0) - 4;
  const int decimals = mantissaColumns >= 3 ? mantissaColumns - 2 : 0;
  std::uint64_t digits = 0;
  int exponent = 0;
  if (mantissaColumns < 1 || decimals + 1 > 12 || x == 0 ||
      !RoundSignificant(std::fabs(x), decimals + 1, digits, exponent) || std::abs(exponent) > 99) {
    return ThroughGeneralPath(at, kind, value, width, fieldDigits);
  }
  char* const fieldEnd = at + width;
  char* start = fieldEnd;
  PutDigitsBackwards(start, static_cast<std::uint64_t>(std::abs(exponent)), 2);
  *--start = exponent < 0 ? '-' : '+';
  *--start = 'E';
  const std::uint64_t first = PutDigitsBackwards(start, digits, decimals);
  if (decimals > 0) *--start = '.';
  *--start = static_cast<char>('0' + first);
  if (negative) *--start = '-';
  return BlanksBefore(at, start, fieldEnd);
}

bool FiniteValue(const FieldValue& value, double& x) {
  if (value.kind() == FieldValue::Kind::Real) {
    x = value.real();
    return std::isfinite(x);
  }
  x = value.integer();
  return value.kind() == FieldValue::Kind::Integer;
}

// The longest digit string written here; longer ones (Iw.m with a large m)
// take the general path.
constexpr int kMaxDigits = 40;

}  // namespace

char* WriteTextField(char* at, const FieldValue& value, int width) {
  if (value.kind() != FieldValue::Kind::Text) {
    return ThroughGeneralPath(at, FieldKind::Text, value, width, 0);
  }
  const std::string_view text = value.text();
  const std::size_t w = static_cast<std::size_t>(width);
  const std::size_t kept = std::min(text.size(), w);
  std::memcpy(at, text.data(), kept);
  std::memset(at + kept, ' ', w - kept);
  return at + w;
}

char* WriteIntegerField(char* at, const FieldValue& value, int width, int minDigits) {
  std::int64_t n = 0;
  if (value.kind() == FieldValue::Kind::Integer) {
    n = value.integer();
  } else {
    double x = 0;
    // Far beyond any field width, and safely inside the 64-bit range.
    if (!FiniteValue(value, x) || std::fabs(x) >= 1e18) {
      return ThroughGeneralPath(at, FieldKind::Integer, value, width, minDigits);
    }
    n = std::llround(x);  // halves away from zero
  }
  const std::uint64_t magnitude =
      n < 0 ? 0 - static_cast<std::uint64_t>(n) : static_cast<std::uint64_t>(n);
  const int digits = std::max(DecimalDigitCount(magnitude), minDigits);
  const int length = (n < 0 ? 1 : 0) + digits;
  if (length > width) {
    return WriteWideNumber(at, static_cast<double>(n), width, FieldKind::Integer, value, minDigits);
  }
  if (digits > kMaxDigits) {
    return ThroughGeneralPath(at, FieldKind::Integer, value, width, minDigits);
  }
  char* const fieldEnd = at + width;
  char* start = fieldEnd;
  PutDigitsBackwards(start, magnitude, digits);
  if (n < 0) *--start = '-';
  return BlanksBefore(at, start, fieldEnd);
}

char* WriteFixedField(char* at, const FieldValue& value, int width, int decimals) {
  double x = 0;
  std::uint64_t rounded = 0;
  if (!FiniteValue(value, x) || !RoundScaled(std::fabs(x), decimals, rounded)) {
    return ThroughGeneralPath(at, FieldKind::Fixed, value, width, decimals);
  }
  // [-]d…d.d…d with at least one digit before the point; a value that rounds
  // to zero has no minus sign.
  const int digits = std::max(DecimalDigitCount(rounded), decimals + 1);
  const bool negative = x < 0 && rounded != 0;
  const int length = (negative ? 1 : 0) + digits + 1;
  if (length > width) return WriteWideNumber(at, x, width, FieldKind::Fixed, value, decimals);
  char* const fieldEnd = at + width;
  char* start = fieldEnd;
  if (decimals == 0) *--start = '.';  // F4.0 of 2.5 gives "  3."
  std::uint64_t whole = PutDigitsBackwards(start, rounded, decimals);
  if (decimals > 0) *--start = '.';
  PutDigitsBackwards(start, whole, digits - decimals);
  if (negative) *--start = '-';
  return BlanksBefore(at, start, fieldEnd);
}

char* WriteExponentField(char* at, const FieldValue& value, int width, int decimals, bool scaled) {
  double x = 0;
  const int significant = scaled ? decimals + 1 : std::max(decimals, 1);
  std::uint64_t digits = 0;
  int exponent = 0;
  const bool decided = FiniteValue(value, x) && significant <= 12 &&
                       (x == 0 || RoundSignificant(std::fabs(x), significant, digits, exponent));
  if (!decided) {
    return ThroughGeneralPath(at, scaled ? FieldKind::ScaledExponent : FieldKind::Exponent, value,
                              width, decimals);
  }
  // d.dddE+xx or 0.ddddE+xx; zero has the exponent 0 in both forms.
  const bool negative = x < 0;
  if (x != 0 && !scaled) ++exponent;
  const int magnitude = std::abs(exponent);
  const int length = (negative ? 1 : 0) + significant + (scaled ? 1 : 2) + 4;
  if (magnitude > 99 || length > width) return Asterisks(at, width);
  char* const fieldEnd = at + width;
  char* start = fieldEnd;
  PutDigitsBackwards(start, static_cast<std::uint64_t>(magnitude), 2);
  *--start = exponent < 0 ? '-' : '+';
  *--start = 'E';
  if (scaled) {
    const std::uint64_t first = PutDigitsBackwards(start, digits, significant - 1);
    *--start = '.';
    *--start = static_cast<char>('0' + first);
  } else {
    PutDigitsBackwards(start, digits, significant);
    *--start = '.';
    *--start = '0';
  }
  if (negative) *--start = '-';
  return BlanksBefore(at, start, fieldEnd);
}

}  // namespace korvan
