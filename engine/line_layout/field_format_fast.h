// The fast path of the fixed-width fields, writing the same bytes as the
// Append functions of field_format.h (the general path) straight into a
// line: each writes exactly `width` (> 0) characters at `at` and returns
// their end. The values that make up the report and plot file (reals in F, E
// and PE fields of up to 12 digits and 22 decimals, between about 10^-22 and
// 10^22, integers in I fields, texts in A fields) take a few dozen
// instructions, exact halfway cases included; the rare others are handed to
// the general path.
#pragma once

#include "layout.h"

namespace korvan {

char* WriteTextField(char* at, const FieldValue& value, int width);
char* WriteIntegerField(char* at, const FieldValue& value, int width, int minDigits);
char* WriteFixedField(char* at, const FieldValue& value, int width, int decimals);
char* WriteExponentField(char* at, const FieldValue& value, int width, int decimals, bool scaled);

}  // namespace korvan
