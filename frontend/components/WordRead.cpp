#include "WordRead.h"

#include <QFile>
#include <QStringDecoder>
#include <cmath>

#include "NumberFormat.h"

namespace korvan {

namespace {

const char* const kIncompleteFile = "This file either invalid or incomplete.";

bool IsBlank(QChar c) {
  return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

// Lines end at CR LF, LF or a lone CR; a final line end opens no extra line.
QStringList SplitLines(const QString& text) {
  QStringList lines;
  QString line;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text[i];
    if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
      if (c == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n')) ++i;
      lines.append(line);
      line.clear();
    } else {
      line += c;
    }
  }
  if (!line.isEmpty() || lines.isEmpty()) lines.append(line);
  return lines;
}

// Files are UTF-8 when they decode as such, else single-byte text.
QString DecodeText(const QByteArray& bytes) {
  QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
  QString text = decoder.decode(bytes);
  if (decoder.hasError()) text = QString::fromLatin1(bytes);
  return text;
}

}  // namespace

TWordLine::TWordLine(const QString& text) : fOrigString(text) {
  const QString trimmed = text.trimmed();
  QString word;
  for (const QChar c : trimmed) {
    if (IsBlank(c)) {
      if (!word.isEmpty()) append(word);
      word.clear();
    } else {
      word += c;
    }
  }
  if (!word.isEmpty()) append(word);
}

TWordReader::TWordReader(const QString& fileName) {
  QFile file(fileName);
  if (!file.open(QIODevice::ReadOnly)) {
    throw EInOutError(
        QStringLiteral("Cannot open file \"%1\". %2").arg(fileName, file.errorString()));
  }
  const QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError) {
    throw EInOutError(
        QStringLiteral("Cannot read file \"%1\". %2").arg(fileName, file.errorString()));
  }
  LoadText(DecodeText(bytes));
}

TWordReader TWordReader::FromText(const QString& text) {
  TWordReader reader;
  reader.LoadText(text);
  return reader;
}

void TWordReader::LoadText(const QString& text) {
  for (const QString& line : SplitLines(text)) fLines.emplace_back(line);
  fLine = 0;
  fItem = 0;
}

const TWordLine& TWordReader::CurrentLine() const {
  if (fLine >= GetLineCount()) throw EInOutError(QString::fromLatin1(kIncompleteFile));
  return fLines[static_cast<size_t>(fLine)];
}

QString TWordReader::ReadWord() {
  while (fLine < GetLineCount() && fItem >= fLines[static_cast<size_t>(fLine)].size()) {
    ++fLine;
    fItem = 0;
  }
  const TWordLine& line = CurrentLine();
  return line[fItem++];
}

void TWordReader::RaiseExpected(const char* what) const {
  // The word just read is word fItem (1-based) of line fLine + 1.
  throw EInOutError(QStringLiteral("Error on Line %1 Item %2\n%3")
                        .arg(fLine + 1)
                        .arg(fItem)
                        .arg(QString::fromLatin1(what)));
}

long double TWordReader::ReadFloat() {
  const QString word = ReadWord();
  const auto value = TextToFloat(word, QLatin1Char('.'));
  if (!value) RaiseExpected("A floating point number was expected but not found.");
  return *value;
}

int32_t TWordReader::ReadInteger() {
  const QString word = ReadWord();
  const auto value = TextToFloat(word);
  if (!value || *value != std::trunc(*value) || *value < -2147483648.0L || *value > 2147483647.0L) {
    RaiseExpected("An integer was expected but not found.");
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
  const QString text = CurrentLine().OrigString();
  ++fLine;
  fItem = 0;
  return text;
}

QString TWordReader::PeekLine() {
  const QString text = CurrentLine().OrigString();
  fItem = 0;
  return text;
}

int TWordReader::CountWordsLine() {
  const int count = static_cast<int>(CurrentLine().size());
  ++fLine;
  fItem = 0;
  return count;
}

int TWordReader::GetCurrentLineWordCount() const {
  return GetWordCount(fLine);
}

int TWordReader::GetWordCount(int index) const {
  if (index < 0 || index >= GetLineCount()) return 0;
  return static_cast<int>(fLines[static_cast<size_t>(index)].size());
}

}  // namespace korvan
