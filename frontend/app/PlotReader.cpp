#include "PlotReader.h"

#include <QFile>
#include <array>
#include <charconv>
#include <cmath>

#include "Exceptions.h"
#include "input_file.h"
#include "messages.h"

namespace korvan {

namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// Optional sign, digits with at most one ".", optional exponent; the whole
// word. The sign "+" is dropped for from_chars.
bool ParseNumber(const char* first, const char* last, long double& value) {
  std::array<char, 128> normal{};
  if (last - first >= static_cast<std::ptrdiff_t>(normal.size())) return false;
  size_t n = 0;
  const char* p = first;
  if (p < last && (*p == '+' || *p == '-')) {
    if (*p == '-') normal[n++] = '-';
    ++p;
  }
  int mantissaDigits = 0;
  while (p < last && IsDigit(*p)) normal[n++] = *p++, ++mantissaDigits;
  if (p < last && *p == '.') {
    normal[n++] = *p++;
    while (p < last && IsDigit(*p)) normal[n++] = *p++, ++mantissaDigits;
  }
  if (mantissaDigits == 0) return false;
  if (p < last && (*p == 'E' || *p == 'e')) {
    normal[n++] = 'e';
    ++p;
    if (p < last && (*p == '+' || *p == '-')) normal[n++] = *p++;
    int exponentDigits = 0;
    while (p < last && IsDigit(*p)) normal[n++] = *p++, ++exponentDigits;
    if (exponentDigits == 0) return false;
  }
  if (p != last) return false;
  const auto [end, error] = std::from_chars(normal.data(), normal.data() + n, value);
  return error == std::errc() && end == normal.data() + n && std::isfinite(value);
}

[[noreturn]] void Raise(const char* what) {
  throw EInOutError(QString::fromLatin1(what));
}

}  // namespace

TPlotReader::TPlotReader(const QString& fileName) : fFileName(fileName) {
  const platform::TInputFile input(QFile::encodeName(fileName).toStdString());
  QFile file;
  if (!input.Opened() || !file.open(input.Descriptor(), QIODevice::ReadOnly)) {
    throw EInOutError(
        QStringLiteral("Cannot open file \"%1\". %2")
            .arg(fileName, QString::fromLocal8Bit(platform::AsSentence(input.Problem()))));
  }
  const QString tooLarge =
      QStringLiteral(
          "Cannot read file \"%1\". It is larger than %2 MB, more than any plot data "
          "file holds.")
          .arg(fileName)
          .arg(kMaxFileBytes / (1024 * 1024));
  // Refused by its size before anything is read.
  if (file.size() > kMaxFileBytes) throw EInOutError(tooLarge);
  fBytes = file.readAll();
  if (file.error() != QFileDevice::NoError) {
    throw EInOutError(
        QStringLiteral("Cannot read file \"%1\". %2").arg(fileName, file.errorString()));
  }
  if (fBytes.size() > kMaxFileBytes) throw EInOutError(tooLarge);
  fPosition = fBytes.constData();
  fEnd = fPosition + fBytes.size();
  // The engine ends every line with a line break: the words of a last line
  // without one may have lost their end ("1." of "1.2345E+03").
  if (!fBytes.isEmpty() && !fBytes.endsWith('\n')) {
    fCutShort = true;
    fEnd = fPosition + (fBytes.lastIndexOf('\n') + 1);
  }
}

void TPlotReader::RaiseEnded() const {
  if (fCutShort) RequireWhole();
  Raise("The plot data file ends before its last values.");
}

void TPlotReader::RequireWhole() const {
  if (!fCutShort) return;
  throw EInOutError(
      QStringLiteral("The plot data file \"%1\" was cut short: its last line has no line break.")
          .arg(fFileName));
}

bool TPlotReader::NextWord(const char*& first, const char*& last) {
  while (fPosition < fEnd && IsBlank(*fPosition)) ++fPosition;
  if (fPosition == fEnd) return false;
  first = fPosition;
  while (fPosition < fEnd && !IsBlank(*fPosition)) ++fPosition;
  last = fPosition;
  return true;
}

long double TPlotReader::Float() {
  const char* first = nullptr;
  const char* last = nullptr;
  if (!NextWord(first, last)) RaiseEnded();
  long double value = 0;
  if (!ParseNumber(first, last, value))
    Raise("A floating point number was expected but not found.");
  return value;
}

int TPlotReader::Integer() {
  const long double value = Float();
  if (value != std::trunc(value) || value < -2147483648.0L || value > 2147483647.0L) {
    Raise("An integer was expected but not found.");
  }
  return static_cast<int>(value);
}

void TPlotReader::Skip(int words) {
  const char* first = nullptr;
  const char* last = nullptr;
  for (int i = 0; i < words; ++i) {
    if (!NextWord(first, last)) RaiseEnded();
  }
}

int TPlotReader::Count(int wordsEach) {
  const int count = Integer();
  if (count < 0) Raise("The plot data file holds a negative count.");
  Require(count, wordsEach);
  return count;
}

int TPlotReader::CurveCount(int wordsEach) {
  const int count = Count(wordsEach);
  if (count > kMaxCurves) Raise("The plot data file holds more curves than any run writes.");
  return count;
}

void TPlotReader::Require(long long count, long long wordsEach) const {
  // Every word but the last is followed by at least one blank. Divided
  // rather than multiplied, so that two counts near 2^31 do not overflow.
  const long long most = (static_cast<long long>(fEnd - fPosition) + 1) / 2;
  if (count > 0 && wordsEach > 0 && count > most / wordsEach) RaiseEnded();
}

void TPlotReader::RequirePoints(long long lines, long long points, long long wordsEach) const {
  if (lines <= 0 || points <= 0 || lines <= kMaxUnfilledPoints / points) return;
  Require(lines * points, wordsEach);
}

void TPlotReader::RequireFewPoints(long long lines, long long points) const {
  if (lines > 0 && points > 0 && lines > kMaxUnfilledPoints / points)
    Raise("The plot data file holds more points than any run writes.");
}

}  // namespace korvan
