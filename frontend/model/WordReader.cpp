#include "model/WordReader.h"

#include <QFile>
#include <QStringDecoder>
#include <cmath>

#include "model/NumberFormat.h"

namespace korvan {

namespace {

const char* const kIncompleteFile = "This file either invalid or incomplete.";

bool IsBlank(QChar c) {
  return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

bool IsLineBreak(QChar c) {
  return c == QLatin1Char('\r') || c == QLatin1Char('\n');
}

// Calls found(start, length) for each word of `line`: the line is trimmed of
// white space and cut at each run of blanks and tabs.
template <class TFound>
void ForEachWord(QStringView line, TFound found) {
  const QStringView text = line.trimmed();
  const qsizetype offset = text.data() - line.data();
  qsizetype i = 0;
  while (i < text.size()) {
    while (i < text.size() && IsBlank(text[i])) ++i;
    if (i == text.size()) break;
    const qsizetype start = i;
    while (i < text.size() && !IsBlank(text[i])) ++i;
    found(offset + start, i - start);
  }
}

size_t CountWords(QStringView line) {
  size_t count = 0;
  ForEachWord(line, [&](qsizetype, qsizetype) { ++count; });
  return count;
}

// Files are UTF-8 when they decode as such, else single-byte text.
QString DecodeText(const QByteArray& bytes) {
  QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
  QString text = decoder.decode(bytes);
  if (decoder.hasError()) text = QString::fromLatin1(bytes);
  return text;
}

QString TooLarge(const QString& what) {
  return QStringLiteral(
             "Cannot read %1. It is larger than %2 MB, more than any file of this "
             "program holds.")
      .arg(what)
      .arg(TWordReader::kMaxFileBytes / (1024 * 1024));
}

}  // namespace

TWordReader::TWordReader(const QString& fileName) {
  QFile file(fileName);
  if (!file.open(QIODevice::ReadOnly)) {
    throw EInOutError(
        QStringLiteral("Cannot open file \"%1\". %2").arg(fileName, file.errorString()));
  }
  const QString name = QStringLiteral("file \"%1\"").arg(fileName);
  // A file that tells its size is refused before anything is read; others
  // (pipes, devices) are read one byte beyond the limit at most.
  if (file.size() > kMaxFileBytes) throw EInOutError(TooLarge(name));
  const QByteArray bytes = file.isSequential() ? file.read(kMaxFileBytes + 1) : file.readAll();
  if (file.error() != QFileDevice::NoError) {
    throw EInOutError(
        QStringLiteral("Cannot read file \"%1\". %2").arg(fileName, file.errorString()));
  }
  if (bytes.size() > kMaxFileBytes) throw EInOutError(TooLarge(name));
  LoadText(DecodeText(bytes));
  fFileName = fileName;
}

TWordReader TWordReader::FromText(const QString& text) {
  TWordReader reader;
  reader.LoadText(text);
  return reader;
}

// Lines end at CR LF, LF or a lone CR; a final line end opens no extra line.
void TWordReader::LoadText(QString text) {
  if (text.size() > kMaxFileBytes) throw EInOutError(TooLarge(QStringLiteral("the text")));
  fText = std::move(text);
  const qsizetype n = fText.size();
  const QChar* chars = fText.constData();
  // Counted first, so that the starts take no more room than they need.
  fLineStarts.clear();
  fLineStarts.reserve(
      static_cast<size_t>(fText.count(QLatin1Char('\r')) + fText.count(QLatin1Char('\n'))) + 2);
  fLineStarts.push_back(0);
  for (qsizetype i = 0; i < n; ++i) {
    if (!IsLineBreak(chars[i])) continue;
    if (chars[i] == QLatin1Char('\r') && i + 1 < n && chars[i + 1] == QLatin1Char('\n')) ++i;
    fLineStarts.push_back(static_cast<std::int32_t>(i + 1));
  }
  if (fLineStarts.size() == 1 || fLineStarts.back() != n) {
    fLineStarts.push_back(static_cast<std::int32_t>(n));
  }
  GoToLine(0);
}

QStringView TWordReader::LineText(int index) const {
  const qsizetype start = fLineStarts[static_cast<size_t>(index)];
  qsizetype end = fLineStarts[static_cast<size_t>(index) + 1];
  if (end > start && IsLineBreak(fText[end - 1])) {
    const bool crLf = fText[end - 1] == QLatin1Char('\n') && end - 2 >= start &&
                      fText[end - 2] == QLatin1Char('\r');
    end -= crLf ? 2 : 1;
  }
  return QStringView(fText).sliced(start, end - start);
}

void TWordReader::GoToLine(int line) {
  fLine = line;
  fItem = 0;
  fWords.clear();
  if (line >= GetLineCount()) return;
  const QStringView text = LineText(line);
  const qsizetype offset = text.data() - fText.constData();
  fWords.reserve(CountWords(text));
  ForEachWord(text, [&](qsizetype start, qsizetype length) {
    fWords.push_back(
        {static_cast<std::int32_t>(offset + start), static_cast<std::int32_t>(length)});
  });
}

void TWordReader::Raise(const QString& message) const {
  if (fFileName.isEmpty()) throw EInOutError(message);
  throw EInOutError(QStringLiteral("File \"%1\":\n%2").arg(fFileName, message));
}

void TWordReader::RequireLine() const {
  if (fLine >= GetLineCount()) Raise(QString::fromLatin1(kIncompleteFile));
}

QString TWordReader::ReadWord() {
  while (fLine < GetLineCount() && fItem >= static_cast<int>(fWords.size())) GoToLine(fLine + 1);
  RequireLine();
  const TWordSpan word = fWords[static_cast<size_t>(fItem++)];
  return fText.mid(word.start, word.length);
}

void TWordReader::RaiseAtWord(const QString& problem) const {
  // The word just read is word fItem (1-based) of line fLine + 1.
  Raise(QStringLiteral("Error on Line %1 Item %2\n%3").arg(fLine + 1).arg(fItem).arg(problem));
}

long double TWordReader::ReadFloat() {
  const QString word = ReadWord();
  const auto value = TextToFloat(word, QLatin1Char('.'));
  if (!value) RaiseAtWord(QStringLiteral("A floating point number was expected but not found."));
  return *value;
}

int32_t TWordReader::ReadInteger() {
  const QString word = ReadWord();
  const auto value = TextToFloat(word);
  if (!value || *value != std::trunc(*value) || *value < -2147483648.0L || *value > 2147483647.0L) {
    RaiseAtWord(QStringLiteral("An integer was expected but not found."));
  }
  return static_cast<int32_t>(*value);
}

QString TWordReader::ReadWords() {
  QStringList words;
  for (;;) {
    const QString word = ReadWord();
    if (TextToFloat(word)) {
      --fItem;  // the number stays for the next read
      return words.join(QLatin1Char(' '));
    }
    words.append(word);
  }
}

QString TWordReader::ReadLine() {
  RequireLine();
  const QString text = LineText(fLine).toString();
  GoToLine(fLine + 1);
  return text;
}

QString TWordReader::PeekLine() {
  RequireLine();
  fItem = 0;
  return LineText(fLine).toString();
}

int TWordReader::CountWordsLine() {
  RequireLine();
  const int count = static_cast<int>(fWords.size());
  GoToLine(fLine + 1);
  return count;
}

int TWordReader::GetCurrentLineWordCount() const {
  return GetWordCount(fLine);
}

int TWordReader::GetWordCount(int index) const {
  if (index < 0 || index >= GetLineCount()) return 0;
  if (index == fLine) return static_cast<int>(fWords.size());
  return static_cast<int>(CountWords(LineText(index)));
}

}  // namespace korvan
