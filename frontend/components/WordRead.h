// TWordReader: a text file held in memory as lines of whitespace-separated
// words, handed out in order as words, integers, reals and whole lines.
// Every text file the front end reads goes through it.
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

#include "Exceptions.h"

namespace korvan {

// The words of one line, with the line's full text as read.
class TWordLine : public QStringList {
 public:
  explicit TWordLine(const QString& text);
  const QString& OrigString() const { return fOrigString; }

 private:
  QString fOrigString;
};

class TWordReader {
 public:
  // Reads every line of the file; an empty file gives one empty line. A file
  // that cannot be opened raises EInOutError.
  explicit TWordReader(const QString& fileName);
  // The same over text already in memory (clipboard, tests).
  static TWordReader FromText(const QString& text);

  QString ReadWord();
  // The next word as a real with "." as the decimal separator, whatever the
  // locale.
  long double ReadFloat();
  // The next word as a real in the program's number format, accepted when it
  // is whole and within the 32-bit range.
  int32_t ReadInteger();
  // The words up to the next one that converts as a number, joined by single
  // blanks; the numeric word stays unread.
  QString ReadWords();
  // The current line's full text; moves to the start of the next line.
  QString ReadLine();
  // The current line's full text; moves to the start of that line.
  QString PeekLine();
  // The number of words of the current line; moves to the start of the next.
  int CountWordsLine();

  int GetCurrentLineWordCount() const;
  int GetWordCount(int index) const;  // 0 for a line that does not exist
  bool Eof() const { return fLine == GetLineCount(); }
  bool GetAtStartOfLine() const { return fItem == 0; }
  int GetLineCount() const { return static_cast<int>(fLines.size()); }
  int NumberLines() const { return GetLineCount(); }

  int Line() const { return fLine; }
  int Item() const { return fItem; }

 private:
  TWordReader() = default;
  void LoadText(const QString& text);
  const TWordLine& CurrentLine() const;  // raises at the end of the file
  [[noreturn]] void RaiseExpected(const char* what) const;

  std::vector<TWordLine> fLines;
  int fLine = 0;
  int fItem = 0;
};

}  // namespace korvan
