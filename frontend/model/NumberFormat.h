// The program's number format: conversions between reals and text with an
// explicit or the locale's decimal separator, independent of the C++ global
// locale and of Qt's.
#pragma once

#include <QChar>
#include <QString>
#include <optional>

namespace korvan {

// Decimal separator of the program's number format: that of the process's
// numeric locale (LC_NUMERIC).
QChar DecimalSeparator();

// `text` as a decimal real: optional sign, digits with at most one
// `separator`, optional exponent (E or e, optional sign, digits). The whole
// text must match; a value beyond the extended range does not convert.
std::optional<long double> TextToFloat(const QString& text, QChar separator);
std::optional<long double> TextToFloat(const QString& text);  // program's separator

// General format with `precision` significant digits: trailing zeros and an
// unneeded separator dropped; fixed notation when the magnitude is at least
// 0.00001 and has at most `precision` digits before the separator, otherwise
// scientific with the shortest exponent (one millionth is 1E-6).
QString FormatGeneral(long double value, int precision, QChar separator);
QString FormatGeneral(long double value, int precision);  // program's separator

}  // namespace korvan
