#include "record_reader.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <sstream>
#include <string>

#include "text_cut.h"

namespace korvan {

namespace {

bool IsSeparator(char c) {
  return c == ' ' || c == '\t' || c == ',' || c == '\r' || c == '\f' || c == '\v';
}

std::string Quoted(std::string_view word) {
  constexpr std::size_t kShown = 24;
  std::string text(word.substr(0, kShown));
  for (char& c : text) {
    if (!std::isprint(static_cast<unsigned char>(c))) c = '?';
  }
  if (word.size() > kShown) text += "...";
  return "\"" + text + "\"";
}

}  // namespace

FileReadStatus RecordReader::Open(const std::string& path) {
  std::string text;
  const FileReadStatus status = ReadRegularFile(path, kMaxFileSize, text);
  if (status == FileReadStatus::kRead) OpenText(std::move(text));
  return status;
}

void RecordReader::OpenText(std::string text) {
  text_ = std::move(text);
  nextLine_ = 0;
  linesTaken_ = 0;
  rest_ = {};
  inRecord_ = false;
  valueLine_ = 0;
}

std::string_view RecordReader::TakeLine() {
  std::size_t end = text_.find('\n', nextLine_);
  if (end == std::string::npos) end = text_.size();
  std::string_view line(text_.data() + nextLine_, end - nextLine_);
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  nextLine_ = end + 1;
  ++linesTaken_;
  return line;
}

std::string RecordReader::ReadTitle() {
  recordName_ = "1 (TITLE)";
  if (AtEnd()) {
    valueLine_ = 1;
    Fail("the file is empty");
  }
  valueLine_ = linesTaken_ + 1;
  std::string title(CutAtCharacter(TakeLine(), 72));
  title.resize(72, ' ');
  inRecord_ = false;
  rest_ = {};
  return title;
}

void RecordReader::BeginRecord(std::string_view name) {
  recordName_ = name;
  inRecord_ = false;
  rest_ = {};
}

void RecordReader::EndRecord() {
  if (!inRecord_) TakeNextLine();
  inRecord_ = false;
  rest_ = {};
}

void RecordReader::TakeNextLine() {
  if (AtEnd()) {
    valueLine_ = linesTaken_;  // the last line
    Fail("the file ends before the record is complete");
  }
  valueLine_ = linesTaken_ + 1;
  rest_ = TakeLine();
  inRecord_ = true;
}

std::string_view RecordReader::NextWord() {
  // A record's first value starts on a fresh line; a record that needs more
  // values than its line holds runs on over the following lines.
  if (!inRecord_) TakeNextLine();
  for (;;) {
    std::size_t skip = 0;
    int commas = 0;
    while (skip < rest_.size() && IsSeparator(rest_[skip])) {
      if (rest_[skip] == ',') ++commas;
      ++skip;
    }
    // Two commas in a row would stand for an omitted value; taking the next
    // value in its place would silently shift the record.
    if (commas > 1) Fail("an empty value between two commas is not accepted");
    rest_.remove_prefix(skip);
    if (!rest_.empty()) break;
    TakeNextLine();
  }
  std::size_t length = 0;
  while (length < rest_.size() && !IsSeparator(rest_[length])) ++length;
  std::string_view word = rest_.substr(0, length);
  rest_.remove_prefix(length);
  return word;
}

Int RecordReader::ReadInt() {
  std::string_view word = NextWord();
  std::string_view digits = word;
  // One optional sign, then digits only.
  if (!digits.empty() && digits.front() == '+') digits.remove_prefix(1);
  const bool signedTwice = word.size() > digits.size() && !digits.empty() && digits.front() == '-';
  Int value = 0;
  auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (error == std::errc::result_out_of_range) Fail(Quoted(word) + " is not an integer in range");
  if (digits.empty() || signedTwice || error != std::errc() ||
      end != digits.data() + digits.size()) {
    Fail(Quoted(word) + " is not an integer (integers have no decimal point or exponent)");
  }
  return value;
}

Real RecordReader::ReadReal() {
  std::string_view word = NextWord();
  std::string_view number = word;
  const bool plus = !number.empty() && number.front() == '+';
  if (plus) number.remove_prefix(1);
  // Only ordinary decimal and exponent forms: no "inf", "nan" or hex.
  std::string_view body = number;
  if (!plus && !body.empty() && body.front() == '-') body.remove_prefix(1);
  bool plain = !body.empty() && (std::isdigit(static_cast<unsigned char>(body.front())) ||
                                 (body.front() == '.' && body.size() > 1 &&
                                  std::isdigit(static_cast<unsigned char>(body[1]))));
  if (body.size() > 1 && (body[1] == 'x' || body[1] == 'X')) plain = false;
  Real value = 0;
  if (plain) {
    auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value,
                                        std::chars_format::general);
    if (error == std::errc::result_out_of_range) {
      Fail(Quoted(word) + " is out of the range of the engine's reals");
    }
    plain = error == std::errc() && end == number.data() + number.size() && std::isfinite(value);
  }
  if (!plain) Fail(Quoted(word) + " is not a number");
  return value;
}

void RecordReader::Fail(std::string_view what) const {
  std::ostringstream message;
  message << "RECORD " << recordName_ << ", LINE " << valueLine_ << ": " << what;
  throw DataFileError(message.str());
}

}  // namespace korvan
