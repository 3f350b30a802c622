#include "model/EntryEvaluator.h"

#include <QList>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <numbers>
#include <optional>
#include <vector>

#include "model/NumberFormat.h"

namespace korvan {

namespace {

// Intermediate results go back into the text with 18 significant digits.
constexpr int kResultDigits = 18;

[[noreturn]] void Fail(const char* reason) {
  throw EAssignError(QStringLiteral("Entry could not be evaluated:\n") + QLatin1String(reason));
}

// Every result must be a finite number; infinities and NaN never reach the
// project's data.
long double Checked(long double value) {
  if (std::isnan(value)) Fail("invalid floating point operation");
  if (std::isinf(value)) Fail("floating point overflow");
  return value;
}

using TFunction = long double (*)(long double);

struct TNamedFunction {
  const char* Name;
  TFunction Apply;
};

// Tested in this order: longer names before their prefixes.
const TNamedFunction kFunctions[] = {
    {"arctanh", [](long double x) { return std::atanh(x); }},
    {"arctan", [](long double x) { return std::atan(x); }},
    {"cotan", [](long double x) { return 1.0L / std::tan(x); }},
    {"tanh", [](long double x) { return std::tanh(x); }},
    {"tan", [](long double x) { return std::tan(x); }},
    {"arccosh", [](long double x) { return std::acosh(x); }},
    {"arccos", [](long double x) { return std::acos(x); }},
    {"cosh", [](long double x) { return std::cosh(x); }},
    {"cos", [](long double x) { return std::cos(x); }},
    {"sec", [](long double x) { return 1.0L / std::cos(x); }},
    {"arcsinh", [](long double x) { return std::asinh(x); }},
    {"arcsin", [](long double x) { return std::asin(x); }},
    {"sinh", [](long double x) { return std::sinh(x); }},
    {"sin", [](long double x) { return std::sin(x); }},
    {"csc", [](long double x) { return 1.0L / std::sin(x); }},
    {"abs", [](long double x) { return std::fabs(x); }},
    {"frac", [](long double x) { return x - std::trunc(x); }},
    {"int", [](long double x) { return std::trunc(x); }},
    {"ln", [](long double x) { return std::log(x); }},
    {"round", [](long double x) { return std::nearbyint(x); }},  // halves to even
    {"ceil", [](long double x) { return std::ceil(x); }},
    {"floor", [](long double x) { return std::floor(x); }},
    {"log", [](long double x) { return std::log10(x); }},
    {"sqrt", [](long double x) { return std::sqrt(x); }},
};

// Text after which a "-" is the sign of what follows.
bool IsSignPrefix(const QString& operandSoFar) {
  if (operandSoFar == QLatin1String("!") || operandSoFar == QLatin1String("$") ||
      operandSoFar.compare(QLatin1String("cosec"), Qt::CaseInsensitive) == 0) {
    return true;
  }
  for (const auto& function : kFunctions) {
    if (operandSoFar.compare(QLatin1String(function.Name), Qt::CaseInsensitive) == 0) return true;
  }
  return false;
}

bool IsOperator(QChar c) {
  return QStringLiteral("^*/%+=|&").contains(c);
}

// A "-" is a sign after these characters (and after another "-"). "E" and
// "e" are not among them: see IsExponentSign.
bool IsSignContext(QChar c) {
  return QStringLiteral("%&*+/=^|-").contains(c);
}

// A "+" or "-" at `i` is the sign of an exponent, as in 4.0E+08 or 1e-3, when
// it follows an "E" or "e" that closes a number's mantissa (a digit or the
// decimal separator before the letter). After any other "e", Euler's number
// as in e-1, it is an operator; in a hexadecimal operand ($1E+1) "E" is a
// digit.
bool IsExponentSign(const QString& text, qsizetype operandStart, qsizetype i) {
  if (i < operandStart + 2) return false;
  const QChar letter = text[i - 1];
  if (letter != QLatin1Char('E') && letter != QLatin1Char('e')) return false;
  if (text[operandStart] == QLatin1Char('$')) return false;
  const QChar mantissaEnd = text[i - 2];
  return mantissaEnd.isDigit() || mantissaEnd == QLatin1Char('.') ||
         mantissaEnd == DecimalSeparator();
}

long double Factorial(long double n) {
  if (n != std::trunc(n)) Fail("! (factoral) applicable to integers only");
  long double result = 1.0L;
  for (long double k = 2.0L; k <= std::fabs(n); k += 1.0L) {
    result *= k;
    if (std::isinf(result)) break;
  }
  return Checked(n < 0 ? -result : result);
}

long double Hexadecimal(const QString& digits) {
  QString text = digits;
  const bool negative = text.startsWith(QLatin1Char('-'));
  if (negative) text.remove(0, 1);
  if (text.isEmpty() || text.size() > 16) Fail("invalid use of $ (hex function)");
  bool ok = false;
  const qulonglong value = text.toULongLong(&ok, 16);
  // toULongLong would also take a "0x" prefix or a sign; only hex digits count.
  for (const QChar c : text) {
    if (!std::isxdigit(static_cast<unsigned char>(c.toLatin1()))) ok = false;
  }
  if (!ok) Fail("invalid use of $ (hex function)");
  const long double magnitude = static_cast<long double>(value);
  return negative ? -magnitude : magnitude;
}

long double TruncatedInteger(long double value) {
  const long double truncated = std::trunc(value);
  if (!(truncated >= -9223372036854775808.0L && truncated < 9223372036854775808.0L)) {
    Fail("invalid floating point operation");
  }
  return truncated;
}

long double Apply(QChar op, const QString& left, const QString& right) {
  const long double a = EvaluateOperand(left);
  const long double b = EvaluateOperand(right);
  switch (op.toLatin1()) {
    case '^':
      return Checked(std::pow(a, b));
    case '*':
      return Checked(a * b);
    case '/':
      if (b == 0) Fail("division by zero");
      return Checked(a / b);
    case '%': {
      const auto x = static_cast<int64_t>(TruncatedInteger(a));
      const auto y = static_cast<int64_t>(TruncatedInteger(b));
      if (y == 0) Fail("division by zero");
      return y == -1 ? 0.0L : static_cast<long double>(x % y);
    }
    case '&':
      return (a != 0 && b != 0) ? 1.0L : 0.0L;
    case '+':
      return Checked(a + b);
    case '-':
      return Checked(a - b);
    case '|':
      return (a != 0 || b != 0) ? 1.0L : 0.0L;
    default:  // '='
      return a == b ? 1.0L : 0.0L;
  }
}

std::optional<long double> Constant(QStringView lower) {
  if (lower == QLatin1String("pi")) return std::numbers::pi_v<long double>;
  if (lower == QLatin1String("-pi")) return -std::numbers::pi_v<long double>;
  if (lower == QLatin1String("e")) return std::numbers::e_v<long double>;
  if (lower == QLatin1String("-e")) return -std::numbers::e_v<long double>;
  return std::nullopt;
}

const TNamedFunction* LeadingFunction(QStringView lower) {
  for (const auto& function : kFunctions) {
    if (lower.startsWith(QLatin1String(function.Name))) return &function;
  }
  return nullptr;
}

// An expression without parentheses.
long double EvaluatePlain(const QString& text) {
  QStringList operands;
  QList<QChar> operators;
  qsizetype start = 0;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text[i];
    bool isOperator = IsOperator(c);
    if (c == QLatin1Char('+') && IsExponentSign(text, start, i)) isOperator = false;
    if (c == QLatin1Char('-')) {
      const bool isSign = i == 0 || IsSignContext(text[i - 1]) || IsExponentSign(text, start, i) ||
                          IsSignPrefix(text.mid(start, i - start));
      isOperator = !isSign;
    }
    if (isOperator) {
      operands.append(text.mid(start, i - start));
      operators.append(c);
      start = i + 1;
    }
  }
  operands.append(text.mid(start));
  for (const QString& operand : operands) {
    if (operand.isEmpty()) Fail("invalid expression");
  }

  // Left to right, pass by pass: ^; * / % &; + - |; =.
  for (const char* pass : {"^", "*/%&", "+-|", "="}) {
    const QString passOperators = QLatin1String(pass);
    for (qsizetype i = 0; i < operators.size();) {
      if (!passOperators.contains(operators[i])) {
        ++i;
        continue;
      }
      const long double result = Apply(operators[i], operands[i], operands[i + 1]);
      operands[i] = FormatGeneral(result, kResultDigits);
      operands.removeAt(i + 1);
      operators.removeAt(i);
    }
  }
  return EvaluateOperand(operands.front());
}

}  // namespace

void CheckStorable(long double value) {
  constexpr int kLimitDigits = 8;
  if (value > kEntryLimit) {
    throw EAssignError(QStringLiteral("Entry must be less than or equal to ") +
                       FormatGeneral(kEntryLimit, kLimitDigits));
  }
  if (value < -kEntryLimit) {
    throw EAssignError(QStringLiteral("Entry must be greater than or equal to ") +
                       FormatGeneral(-kEntryLimit, kLimitDigits));
  }
}

long double EvaluateEntry(const QString& text) {
  if (text.isEmpty()) Fail("entry cannot be blank");
  QString expression = text;
  expression.remove(QLatin1Char(' '));
  expression.remove(QLatin1Char('\t'));

  // Parentheses, innermost first.
  for (qsizetype close = expression.indexOf(QLatin1Char(')')); close >= 0;
       close = expression.indexOf(QLatin1Char(')'))) {
    const qsizetype open = expression.lastIndexOf(QLatin1Char('('), close);
    if (open < 0) Fail("() (parentheses) do not match");
    const long double inner = EvaluateEntry(expression.mid(open + 1, close - open - 1));
    expression.replace(open, close - open + 1, FormatGeneral(inner, kResultDigits));
  }
  return EvaluatePlain(expression);
}

long double EvaluateOperand(const QString& operand) {
  // Functions and factorials wrap the rest of the operand. They are peeled
  // off in a loop and applied innermost first, so that a long pasted chain
  // can exhaust neither the stack nor the time.
  std::vector<TFunction> wrappers;  // nullptr stands for the factorial
  QString text = operand;
  text.replace(QLatin1String("--"), QString());  // leaves no "--" behind
  const QString lowerText = text.toLower();
  qsizetype first = 0;
  qsizetype last = text.size();
  long double value = 0;
  for (;;) {
    const QStringView lower = QStringView(lowerText).mid(first, last - first);
    if (const auto constant = Constant(lower)) {
      value = *constant;
      break;
    }
    if (const TNamedFunction* function = LeadingFunction(lower)) {
      wrappers.push_back(function->Apply);
      first += static_cast<qsizetype>(std::strlen(function->Name));
      continue;
    }
    if (lower.endsWith(QLatin1Char('!'))) {
      wrappers.push_back(nullptr);
      --last;
      continue;
    }
    const QString rest = text.mid(first, last - first);
    if (rest.startsWith(QLatin1Char('$'))) {
      value = Hexadecimal(rest.mid(1));
      break;
    }
    const auto number = TextToFloat(rest);
    if (!number) Fail("invalid character(s) in expression");
    value = *number;
    break;
  }
  for (auto wrapper = wrappers.rbegin(); wrapper != wrappers.rend(); ++wrapper) {
    value = *wrapper != nullptr ? Checked((*wrapper)(value)) : Factorial(value);
  }
  return value;
}

}  // namespace korvan
