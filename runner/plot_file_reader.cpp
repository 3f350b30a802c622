#include "runner/plot_file_reader.h"

#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>

#include "platform/input_file.h"
#include "platform/messages.h"

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
template <class TReal>
bool ParseNumber(const char* first, const char* last, TReal& value) {
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

[[noreturn]] void Raise(const std::string& what) {
  throw PlotFileError(what);
}

std::string TooLarge(const std::string& fileName) {
  return "Cannot read file \"" + fileName + "\". It is larger than " +
         std::to_string(TPlotFileReader::kMaxFileBytes / (1024 * 1024)) +
         " MB, more than any plot data file holds.";
}

}  // namespace

TPlotFileReader::TPlotFileReader(const std::filesystem::path& fileName)
    : fFileName(fileName.string()) {
  const platform::TInputFile input(fileName);
  if (!input.Opened()) {
    Raise("Cannot open file \"" + fFileName + "\". " + platform::AsSentence(input.Problem()));
  }
  // Refused by its size before anything is read.
  struct stat info {};
  if (::fstat(input.Descriptor(), &info) == 0 && info.st_size > kMaxFileBytes) {
    Raise(TooLarge(fFileName));
  }
  char buffer[65536];
  for (ssize_t n; (n = ::read(input.Descriptor(), buffer, sizeof buffer)) != 0;) {
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      Raise("Cannot read file \"" + fFileName + "\". " +
            platform::AsSentence(std::strerror(errno)));
    }
    // A file that grows while it is read is held to the same limit.
    if (fBytes.size() + static_cast<size_t>(n) > static_cast<size_t>(kMaxFileBytes)) {
      Raise(TooLarge(fFileName));
    }
    fBytes.append(buffer, static_cast<size_t>(n));
  }
  fPosition = fBytes.data();
  fEnd = fPosition + fBytes.size();
  // The engine ends every line with a line break: the words of a last line
  // without one may have lost their end ("1." of "1.2345E+03").
  if (!fBytes.empty() && !fBytes.ends_with('\n')) {
    fCutShort = true;
    fEnd = fPosition + (fBytes.rfind('\n') + 1);  // npos + 1 is 0: no whole line
  }
}

void TPlotFileReader::RaiseEnded() const {
  if (fCutShort) RequireWhole();
  Raise("The plot data file ends before its last values.");
}

void TPlotFileReader::RequireWhole() const {
  if (!fCutShort) return;
  Raise("The plot data file \"" + fFileName + "\" was cut short: its last line has no line break.");
}

bool TPlotFileReader::NextWord(const char*& first, const char*& last) {
  while (fPosition < fEnd && IsBlank(*fPosition)) ++fPosition;
  if (fPosition == fEnd) return false;
  first = fPosition;
  while (fPosition < fEnd && !IsBlank(*fPosition)) ++fPosition;
  last = fPosition;
  return true;
}

void TPlotFileReader::RequiredWord(const char*& first, const char*& last) {
  if (!NextWord(first, last)) RaiseEnded();
}

bool TPlotFileReader::AtEnd() {
  while (fPosition < fEnd && IsBlank(*fPosition)) ++fPosition;
  return fPosition == fEnd;
}

long double TPlotFileReader::Float() {
  const char* first = nullptr;
  const char* last = nullptr;
  RequiredWord(first, last);
  long double value = 0;
  if (!ParseNumber(first, last, value))
    Raise("A floating point number was expected but not found.");
  return value;
}

double TPlotFileReader::Double() {
  const char* first = nullptr;
  const char* last = nullptr;
  RequiredWord(first, last);
  double value = 0;
  if (!ParseNumber(first, last, value))
    Raise("A floating point number was expected but not found.");
  return value;
}

int TPlotFileReader::Integer() {
  const long double value = Float();
  if (value != std::trunc(value) || value < -2147483648.0L || value > 2147483647.0L) {
    Raise("An integer was expected but not found.");
  }
  return static_cast<int>(value);
}

void TPlotFileReader::Skip(int words) {
  const char* first = nullptr;
  const char* last = nullptr;
  for (int i = 0; i < words; ++i) RequiredWord(first, last);
}

int TPlotFileReader::Count(int wordsEach) {
  const int count = Integer();
  if (count < 0) Raise("The plot data file holds a negative count.");
  Require(count, wordsEach);
  return count;
}

int TPlotFileReader::CurveCount(int wordsEach) {
  const int count = Count(wordsEach);
  if (count > kMaxCurves) Raise("The plot data file holds more curves than any run writes.");
  return count;
}

void TPlotFileReader::Require(long long count, long long wordsEach) const {
  // Every word but the last is followed by at least one blank. Divided
  // rather than multiplied, so that two counts near 2^31 do not overflow.
  const long long most = (static_cast<long long>(fEnd - fPosition) + 1) / 2;
  if (count > 0 && wordsEach > 0 && count > most / wordsEach) RaiseEnded();
}

void TPlotFileReader::RequirePoints(long long lines, long long points, long long wordsEach) const {
  if (lines <= 0 || points <= 0 || lines <= kMaxUnfilledPoints / points) return;
  Require(lines * points, wordsEach);
}

void TPlotFileReader::RequireFewPoints(long long lines, long long points) const {
  if (lines > 0 && points > 0 && lines > kMaxUnfilledPoints / points)
    Raise("The plot data file holds more points than any run writes.");
}

}  // namespace korvan
