// The words of the engine's plot data file, read straight from its bytes:
// the file of a run at the engine's limits holds millions of numbers, more
// than a reader that keeps every word as text can hand out in good time.
// Numbers follow the word reader's rules with "." as the decimal separator.
// Only a regular file is read (a FIFO is never waited on), and a file whose
// last line has no line break was cut short (a killed run, a full disk):
// its words stop before that line, and running out of words, or
// RequireWhole, says so with the file's name.
#pragma once

#include <QByteArray>
#include <QString>

namespace korvan {

class TPlotReader {
 public:
  // The largest plot file read: three times the file of a run at every
  // capacity of the engine (about 10 MB).
  static constexpr qint64 kMaxFileBytes = 32 * 1024 * 1024;
  // Points a graph may be given before the file fills them (the lines of
  // head loads that did not converge, t-z curves padded to the longest):
  // ten times what a run at every capacity of the engine writes.
  static constexpr long long kMaxUnfilledPoints = 1000000;
  // Curves in one graph: the engine writes 500 at most.
  static constexpr int kMaxCurves = 10000;

  // Raises EInOutError when the file cannot be read, is no regular file or
  // is larger than kMaxFileBytes.
  explicit TPlotReader(const QString& fileName);

  // Each raises EInOutError at the end of the file or when the word is not
  // a number of that kind.
  long double Float();
  int Integer();
  void Skip(int words);
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
  // Raises EInOutError when the file was cut short.
  void RequireWhole() const;

 private:
  // The next word as [first, last); false at the end of the file.
  bool NextWord(const char*& first, const char*& last);
  // Raises the error of a file that ends before the words asked for.
  [[noreturn]] void RaiseEnded() const;

  QString fFileName;
  bool fCutShort = false;
  QByteArray fBytes;
  const char* fPosition = nullptr;
  const char* fEnd = nullptr;
};

}  // namespace korvan
