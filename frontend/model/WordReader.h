// TWordReader: a text file held in memory as lines of whitespace-separated
// words, handed out in order as words, integers, reals and whole lines.
// Every text file the front end reads goes through it.
//
// The file is kept as one text with the starts of its lines; only the
// current line is cut into words. So memory stays within a few times the
// file's size however its lines and words fall, and files larger than any
// file of this program are refused before they are read.
#pragma once

#include <QString>
#include <QStringView>
#include <cstdint>
#include <vector>

#include "model/Exceptions.h"

namespace korvan {

class TWordReader {
 public:
  // The largest file read, in bytes (and of text, in characters): project
  // data files stay below 2 MB and graph settings files far below that, and
  // a table's values read from a file or the clipboard are a few thousand
  // numbers. (Plot data files have a reader of their own.)
  static constexpr qint64 kMaxFileBytes = 16 * 1024 * 1024;

  // Reads every line of the file; an empty file gives one empty line. A file
  // that cannot be opened or read, or is larger than kMaxFileBytes, raises
  // EInOutError. Every reading error names the file on a line of its own
  // before the reader's message, so that the user looks at the right file.
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
  int GetLineCount() const { return static_cast<int>(fLineStarts.size()) - 1; }
  int NumberLines() const { return GetLineCount(); }

  int Line() const { return fLine; }
  int Item() const { return fItem; }
  // The file read; empty for text from memory.
  const QString& FileName() const { return fFileName; }

  // Raises EInOutError with `problem` at the word read last, worded as the
  // reader's own errors ("Error on Line L Item I", the file named first).
  [[noreturn]] void RaiseAtWord(const QString& problem) const;

 private:
  // Where a word lies in the text.
  struct TWordSpan {
    std::int32_t start;
    std::int32_t length;
  };

  TWordReader() = default;
  void LoadText(QString text);
  // Line `index` without its line break.
  QStringView LineText(int index) const;
  // Makes `line` the current line (its first word next); the last line + 1
  // is the end of the file.
  void GoToLine(int line);
  void RequireLine() const;  // raises at the end of the file
  [[noreturn]] void Raise(const QString& message) const;

  QString fFileName;
  QString fText;
  // Where each line starts, and one entry past the last line: the text's
  // length, or the end of its last line break.
  std::vector<std::int32_t> fLineStarts{0, 0};
  int fLine = 0;
  int fItem = 0;
  std::vector<TWordSpan> fWords;  // of the current line
};

}  // namespace korvan
