// The free-format record reader of the project data file. Every record starts
// on the next unread line; its values are separated by blanks or commas and
// may run on over following lines; what is left on the last line used is
// ignored. Anything the layout does not allow throws DataFileError naming the
// record and the line.
#pragma once

#include <cstdio>
#include <stdexcept>
#include <string>
#include <string_view>

#include "data_model.h"
#include "file_access.h"

namespace korvan {

class DataFileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class RecordReader {
 public:
  // The largest project data file read; the largest the front end can write
  // is far below it.
  static constexpr std::size_t kMaxFileSize = std::size_t{64} << 20;

  // Reads the whole file into memory when it is a regular file of at most
  // kMaxFileSize bytes.
  FileReadStatus Open(const std::string& path);
  // Uses the given text as the file (RunProjectText).
  void OpenText(std::string text);

  // The title, from the file's first line: its first 72 bytes, padded with
  // blanks; a UTF-8 character that byte 72 would split is left out whole.
  std::string ReadTitle();
  // Starts a record on a fresh line; `name` is used in error messages.
  void BeginRecord(std::string_view name);
  Int ReadInt();
  Real ReadReal();
  // Ends the current record. A record of which no value was read (a list of
  // pairs with a count of 0) still uses up one line.
  void EndRecord();

  // 1-based number of the line the last value came from (0 before any).
  int LineNumber() const { return valueLine_; }

  // Throws DataFileError "RECORD <name>, LINE <n>: <what>" for the current
  // record and the line of the last value read.
  [[noreturn]] void Fail(std::string_view what) const;

 private:
  std::string_view NextWord();
  void TakeNextLine();
  bool AtEnd() const { return nextLine_ >= text_.size(); }
  // The next unread line without its line end.
  std::string_view TakeLine();

  // The file is kept whole and cut into lines as they are read, so memory
  // stays at the file's size however short its lines are.
  std::string text_;
  std::size_t nextLine_ = 0;  // where the next unread line starts
  int linesTaken_ = 0;
  std::string_view rest_;  // unread part of the current line
  bool inRecord_ = false;
  int valueLine_ = 0;
  std::string recordName_;
};

}  // namespace korvan
