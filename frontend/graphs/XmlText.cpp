#include "graphs/XmlText.h"

namespace korvan {

namespace {

constexpr char16_t kReplacement = u'\uFFFD';

bool AllowedControl(char16_t c) {
  return c == u'\t' || c == u'\n' || c == u'\r';
}

}  // namespace

QString XmlSafeText(const QString& text) {
  QString safe = text;
  for (qsizetype i = 0; i < safe.size(); ++i) {
    const char16_t c = safe[i].unicode();
    if (QChar::isHighSurrogate(c) && i + 1 < safe.size() && safe[i + 1].isLowSurrogate()) {
      ++i;  // a pair: a character beyond the first plane
      continue;
    }
    if ((c < 0x20 && !AllowedControl(c)) || c == 0xFFFE || c == 0xFFFF || QChar::isSurrogate(c))
      safe[i] = QChar(kReplacement);
  }
  return safe;
}

QByteArray XmlSafeUtf8(const QByteArray& utf8) {
  static const QByteArray replacement = QString(QChar(kReplacement)).toUtf8();
  QByteArray safe;
  safe.reserve(utf8.size());
  for (qsizetype i = 0; i < utf8.size(); ++i) {
    const auto byte = static_cast<unsigned char>(utf8[i]);
    // U+FFFE and U+FFFF are EF BF BE and EF BF BF.
    const bool nonCharacter = byte == 0xEF && i + 2 < utf8.size() &&
                              static_cast<unsigned char>(utf8[i + 1]) == 0xBF &&
                              (static_cast<unsigned char>(utf8[i + 2]) & 0xFE) == 0xBE;
    if (nonCharacter) {
      safe += replacement;
      i += 2;
    } else if (byte < 0x20 && !AllowedControl(byte)) {
      safe += replacement;
    } else {
      safe += static_cast<char>(byte);
    }
  }
  return safe;
}

}  // namespace korvan
