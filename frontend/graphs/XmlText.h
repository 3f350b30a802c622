// Texts that the user typed (line names, captions) written into XML files:
// the workbook's parts and SVG drawings. XML 1.0 admits no control
// characters but tab, line feed and carriage return, and no U+FFFE, U+FFFF
// or unpaired surrogates; one of them makes the whole file unreadable, so
// each becomes U+FFFD, the replacement character.
#pragma once

#include <QByteArray>
#include <QString>

namespace korvan {

QString XmlSafeText(const QString& text);

// The same for UTF-8 text already written (an SVG drawing).
QByteArray XmlSafeUtf8(const QByteArray& utf8);

}  // namespace korvan
