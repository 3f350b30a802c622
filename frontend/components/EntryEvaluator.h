// Entry expressions: every numeric field and table cell accepts a number or a
// small arithmetic expression such as 2*3, sqrt(2) or $1F. No widgets here.
#pragma once

#include <QString>

#include "Exceptions.h"

namespace korvan {

// Value of an entry. Raises EAssignError with the message for the user when
// the text does not evaluate.
long double EvaluateEntry(const QString& text);

// Value of one operand: a number in the program's number format, pi, e, a
// function applied to the rest of the operand, a factorial n! or a
// hexadecimal $h.
long double EvaluateOperand(const QString& operand);

}  // namespace korvan
