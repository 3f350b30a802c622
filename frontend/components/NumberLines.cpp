#include "components/NumberLines.h"

#include "model/NumberFormat.h"

namespace korvan {

QChar ListSeparator() {
  return DecimalSeparator() == QLatin1Char(',') ? QLatin1Char(';') : QLatin1Char(',');
}

QStringList SplitTextLines(const QString& text) {
  QStringList lines;
  qsizetype start = 0;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text[i];
    if (c != QLatin1Char('\r') && c != QLatin1Char('\n')) continue;
    lines.append(text.mid(start, i - start));
    if (c == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n')) ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.append(text.mid(start));
  return lines;
}

std::vector<long double> ParseNumberLine(const QString& line) {
  const QChar separator = ListSeparator();
  const auto endsNumber = [separator](QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\r') ||
           c == separator;
  };
  std::vector<long double> numbers;
  qsizetype i = 0;
  while (i < line.size() && static_cast<int>(numbers.size()) < kMaxNumbersPerLine) {
    while (i < line.size() && (line[i] == QLatin1Char(' ') || line[i] == QLatin1Char('\t'))) ++i;
    if (i >= line.size()) break;
    qsizetype end = i;
    while (end < line.size() && !endsNumber(line[end])) ++end;
    const auto number = TextToFloat(line.mid(i, end - i));
    if (!number) break;
    numbers.push_back(*number);
    i = end + 1;  // past the character that ended the number
  }
  return numbers;
}

}  // namespace korvan
