// Formatting of one value into one field of a line layout. Every function
// appends exactly `width` characters (text fields without a width append the
// text itself).
//
// A number too wide for its F or I field keeps its value in the same width:
// it is written in the scaled exponent form, right-aligned, with as many
// decimals as fit (F10.3 of 1011600 gives 1.0116E+06, F6.1 of 12000 gives a
// blank and 1E+04; a form without decimals has no point). Only a field too
// narrow for even one digit and its exponent is filled with asterisks, as is
// an E or PE field narrower than its own form.
//
// Conversions between kinds: a real in an integer field is rounded to the
// nearest integer (halves away from zero); an integer in a real field is
// formatted exactly; a number in a text field is written as in a free-format
// line; a text in a numeric field, infinities and NaN give asterisks.
//
// Rounding is to the nearest decimal of the exact binary value; an exact
// halfway case rounds away from zero (0.25 in F6.1 gives 0.3, as by hand), on
// every platform. A value that rounds to zero is written without a minus sign.
#pragma once

#include <string>
#include <string_view>

#include "layout.h"

namespace korvan {

// A: the text without its trailing blanks (width 0); Aw: cut or padded on the
// right to exactly `width` characters.
void AppendTextField(std::string& out, const FieldValue& value, int width);
// Iw.m: right-aligned in `width` columns with at least `minDigits` digits.
void AppendIntegerField(std::string& out, const FieldValue& value, int width, int minDigits);
// Fw.d.
void AppendFixedField(std::string& out, const FieldValue& value, int width, int decimals);
// Ew.d (0.ddddE+xx) when `scaled` is false, PEw.d (d.dddE+xx) when it is true.
void AppendExponentField(std::string& out, const FieldValue& value, int width, int decimals,
                         bool scaled);
// A value as a free-format word: integers in their digits, reals in the
// shortest form that reads back to the same 32-bit value, texts as they are.
void AppendFreeWord(std::string& out, const FieldValue& value);
// The free-format word of an integer or a real (not a text), written at `at`
// with room for kMaxNumberWordLength characters; returns its end.
inline constexpr std::size_t kMaxNumberWordLength = 32;
char* WriteNumberWord(char* at, const FieldValue& value);

}  // namespace korvan
