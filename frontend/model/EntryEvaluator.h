// Entry expressions: every numeric field and table cell accepts a number or a
// small arithmetic expression such as 2*3, sqrt(2) or $1F. No widgets here.
#pragma once

#include <QString>

#include "model/Exceptions.h"

namespace korvan {

// The largest magnitude an entry may have: far beyond any quantity of a
// project, and within what a data file writes and reads back.
inline constexpr long double kEntryLimit = 1.18973149535723176e100L;

// Value of an entry. Raises EAssignError with the message for the user when
// the text does not evaluate.
long double EvaluateEntry(const QString& text);

// Raises EAssignError, worded as the numeric fields word their limits, when
// `value` lies beyond kEntryLimit either way: the project cannot keep it.
// (Values too close to 0 to read back never leave the evaluator.)
void CheckStorable(long double value);

// Value of one operand: a number in the program's number format, pi, e, a
// function applied to the rest of the operand, a factorial n! or a
// hexadecimal $h.
long double EvaluateOperand(const QString& operand);

}  // namespace korvan
