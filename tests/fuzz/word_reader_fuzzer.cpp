// Arbitrary bytes as a text file read by the word reader, driven by a script
// taken from the front of the input: byte 0 gives the script's length n
// (its remainder modulo 32), bytes 1..n are the operations, the rest is the
// file. The script repeats until an operation raises the reader's error.
// Every operation returns or raises EInOutError, and the reader's position
// stays within the file.
#include <QString>
#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "model/Exceptions.h"
#include "model/WordReader.h"
#include "qt_fuzz_support.h"

namespace {

using korvan::TWordReader;
using korvan::fuzz::Require;

enum TOperation : std::uint8_t {
  kReadWord,
  kReadFloat,
  kReadInteger,
  kReadWords,
  kReadLine,
  kPeekLine,
  kCountWordsLine,
  kCurrentLineWordCount,
  kWordCountOfLine,  // the line number comes from the operation byte
  kOperations
};

bool HasLineBreak(const QString& text) {
  return text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'));
}

bool IsWord(const QString& word) {
  return !word.isEmpty() && !word.contains(QLatin1Char(' ')) && !word.contains(QLatin1Char('\t')) &&
         !HasLineBreak(word);
}

void Perform(TWordReader& reader, std::uint8_t operation) {
  switch (operation % kOperations) {
    case kReadWord:
      Require(IsWord(reader.ReadWord()), "a word holds no blank, tab or line break");
      break;
    case kReadFloat:
      reader.ReadFloat();
      break;
    case kReadInteger:
      reader.ReadInteger();
      break;
    case kReadWords:
      Require(!HasLineBreak(reader.ReadWords()), "words are joined by blanks");
      break;
    case kReadLine:
      Require(!HasLineBreak(reader.ReadLine()), "a line holds no line break");
      break;
    case kPeekLine:
      Require(!HasLineBreak(reader.PeekLine()), "a line holds no line break");
      Require(reader.GetAtStartOfLine(), "PeekLine goes back to the line's start");
      break;
    case kCountWordsLine: {
      const int line = reader.Line();
      const int count = reader.CountWordsLine();
      Require(count == reader.GetWordCount(line), "the counts of a line agree");
      break;
    }
    case kCurrentLineWordCount:
      Require(reader.GetCurrentLineWordCount() >= 0, "a count is never negative");
      break;
    case kWordCountOfLine:
      Require(reader.GetWordCount(operation / kOperations - 2) >= 0, "a count is never negative");
      break;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  korvan::fuzz::EnsureApplication();
  const std::size_t scriptLength = std::min<std::size_t>(data[0] % 32, size - 1);
  const std::uint8_t* script = data + 1;
  const std::size_t header = 1 + scriptLength;
  const QString path =
      korvan::fuzz::WriteScratchFile(QStringLiteral("words.txt"), data + header, size - header);

  try {
    TWordReader reader(path);
    Require(reader.GetLineCount() >= 1, "a file has at least one line");
    if (scriptLength == 0) return 0;
    // Operations that do not move on (peeks and counts) must not loop forever.
    const std::size_t steps = 4 * (static_cast<std::size_t>(reader.GetLineCount()) + size);
    for (std::size_t step = 0; step < steps; ++step) {
      Perform(reader, script[step % scriptLength]);
      Require(reader.Line() >= 0 && reader.Line() <= reader.GetLineCount(),
              "the line stays within the file");
      Require(
          reader.Eof() || (reader.Item() >= 0 && reader.Item() <= reader.GetCurrentLineWordCount()),
          "the word stays within its line");
    }
  } catch (const korvan::EInOutError& error) {
    Require(!error.Message().isEmpty(), "every error has a message");
  }
  return 0;
}
