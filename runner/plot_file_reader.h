// The one reader of the engine's plot data file: its words read straight
// from its bytes, for the desktop program's graphs and for the summary that
// korvan run prints. The file of a run at the engine's limits holds millions
// of numbers, more than a reader that keeps every word as text can hand out
// in good time. Numbers are read with "." as the decimal separator: an
// optional sign, digits with at most one ".", an optional exponent, nothing
// else. Only a regular file is read (a FIFO is never waited on), and a file
// whose last line has no line break was cut short (a killed run, a full
// disk): its words stop before that line, and running out of words, or
// RequireWhole, says so with the file's name.
#pragma once

#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace korvan {

// Why a plot data file cannot be read (the whole message, naming the file
// where it matters).
class PlotFileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TPlotFileReader {
 public:
  // The largest plot file read: three times the file of a run at every
  // capacity of the engine (about 10 MB).
  static constexpr std::int64_t kMaxFileBytes = 32 * 1024 * 1024;
  // Points a graph may be given before the file fills them (the lines of
  // head loads that did not converge, t-z curves padded to the longest):
  // ten times what a run at every capacity of the engine writes.
  static constexpr long long kMaxUnfilledPoints = 1000000;
  // Curves in one graph: the engine writes 500 at most.
  static constexpr int kMaxCurves = 10000;

  // Raises PlotFileError when the file cannot be read, is no regular file
  // or is larger than kMaxFileBytes.
  explicit TPlotFileReader(const std::filesystem::path& fileName);

  // Each raises PlotFileError at the end of the file or when the word is not
  // a number of that kind.
  long double Float();
  // The same number read straight into a double (no rounding twice).
  double Double();
  int Integer();
  void Skip(int words);
  // True when no word is left before the end of the file (or before a last
  // line cut short).
  bool AtEnd();
  // A count of items that take at least `wordsEach` words each; a count
  // that the rest of the file cannot hold is refused, so that a damaged
  // count never asks for more memory than the file could fill.
  int Count(int wordsEach);
  // A count of curves (Count), at most kMaxCurves.
  int CurveCount(int wordsEach);
  // The rest of the file can hold `count` items of `wordsEach` words.
  void Require(long long count, long long wordsEach) const;
  // `lines` lines of `points` points each may be set up: either the rest of
  // the file can fill them with `wordsEach` words a point, or they are few
  // (kMaxUnfilledPoints).
  void RequirePoints(long long lines, long long points, long long wordsEach) const;
  // `lines` lines of `points` points each are few (kMaxUnfilledPoints).
  void RequireFewPoints(long long lines, long long points) const;
  // Raises PlotFileError when the file was cut short.
  void RequireWhole() const;

 private:
  // The next word as [first, last); false at the end of the file.
  bool NextWord(const char*& first, const char*& last);
  // The next word, which must be there.
  void RequiredWord(const char*& first, const char*& last);
  // Raises the error of a file that ends before the words asked for.
  [[noreturn]] void RaiseEnded() const;

  std::string fFileName;
  bool fCutShort = false;
  std::string fBytes;
  const char* fPosition = nullptr;
  const char* fEnd = nullptr;
};

}  // namespace korvan
