#include "model/NumberFormat.h"

#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <string>
#include <system_error>

namespace korvan {

namespace {

bool IsAsciiDigit(QChar c) {
  return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

}  // namespace

QChar DecimalSeparator() {
  const char* point = std::localeconv()->decimal_point;
  const QString text = QString::fromUtf8(point != nullptr ? point : "");
  return text.isEmpty() ? QLatin1Char('.') : text[0];
}

std::optional<long double> TextToFloat(const QString& text, QChar separator) {
  // Validate the layout and build the same number with "." for from_chars.
  std::string normal;
  normal.reserve(static_cast<size_t>(text.size()));
  qsizetype i = 0;
  const qsizetype n = text.size();
  if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))) {
    if (text[i] == QLatin1Char('-')) normal += '-';
    ++i;
  }
  int mantissaDigits = 0;
  while (i < n && IsAsciiDigit(text[i])) {
    normal += text[i++].toLatin1();
    ++mantissaDigits;
  }
  if (i < n && text[i] == separator) {
    normal += '.';
    ++i;
    while (i < n && IsAsciiDigit(text[i])) {
      normal += text[i++].toLatin1();
      ++mantissaDigits;
    }
  }
  if (mantissaDigits == 0) return std::nullopt;
  if (i < n && (text[i] == QLatin1Char('E') || text[i] == QLatin1Char('e'))) {
    normal += 'e';
    ++i;
    if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))) {
      normal += text[i++].toLatin1();
    }
    int exponentDigits = 0;
    while (i < n && IsAsciiDigit(text[i])) {
      normal += text[i++].toLatin1();
      ++exponentDigits;
    }
    if (exponentDigits == 0) return std::nullopt;
  }
  if (i != n) return std::nullopt;

  long double value = 0;
  const char* first = normal.data();
  const char* last = first + normal.size();
  const auto [end, error] = std::from_chars(first, last, value);
  if (error != std::errc() || end != last || !std::isfinite(value)) return std::nullopt;
  return value;
}

std::optional<long double> TextToFloat(const QString& text) {
  return TextToFloat(text, DecimalSeparator());
}

QString FormatGeneral(long double value, int precision, QChar separator) {
  if (std::isnan(value)) return QStringLiteral("NAN");
  if (std::isinf(value)) return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
  if (value == 0) return QStringLiteral("0");
  if (precision < 1) precision = 1;

  // The shortest decimal form that reads back as `value`, rounded half away
  // from zero to `precision` significant digits.
  char buffer[128];
  const auto [end, error] =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific);
  if (error != std::errc()) return QStringLiteral("NAN");
  const std::string scientific(buffer, end);
  const size_t ePos = scientific.find('e');
  const bool negative = scientific[0] == '-';
  std::string digits;
  for (size_t k = negative ? 1 : 0; k < ePos; ++k) {
    if (scientific[k] != '.') digits += scientific[k];
  }
  int exponent = std::atoi(scientific.c_str() + ePos + 1);
  if (digits.size() > static_cast<size_t>(precision)) {
    const bool roundUp = digits[static_cast<size_t>(precision)] >= '5';
    digits.resize(static_cast<size_t>(precision));
    if (roundUp) {
      size_t k = digits.size();
      while (k > 0 && digits[k - 1] == '9') digits[--k] = '0';
      if (k == 0) {
        digits.insert(digits.begin(), '1');
        digits.pop_back();
        ++exponent;
      } else {
        ++digits[k - 1];
      }
    }
  }
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

  QString result = negative ? QStringLiteral("-") : QString();
  const QString digitText = QString::fromLatin1(digits);
  if (exponent >= -5 && exponent < precision) {
    if (exponent < 0) {
      result += QLatin1Char('0');
      result += separator;
      result += QString(-exponent - 1, QLatin1Char('0'));
      result += digitText;
    } else {
      const qsizetype whole = exponent + 1;
      if (digitText.size() <= whole) {
        result += digitText;
        result += QString(whole - digitText.size(), QLatin1Char('0'));
      } else {
        result += digitText.left(whole);
        result += separator;
        result += digitText.mid(whole);
      }
    }
  } else {
    result += digitText[0];
    if (digitText.size() > 1) {
      result += separator;
      result += digitText.mid(1);
    }
    result += QLatin1Char('E');
    result += QString::number(exponent);
  }
  return result;
}

QString FormatGeneral(long double value, int precision) {
  return FormatGeneral(value, precision, DecimalSeparator());
}

}  // namespace korvan
