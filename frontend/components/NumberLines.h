// Lines of numbers as the table editors read them from text files and the
// clipboard, and write them to the clipboard.
#pragma once

#include <QChar>
#include <QString>
#include <QStringList>
#include <vector>

namespace korvan {

// At most this many numbers are taken from one line.
constexpr int kMaxNumbersPerLine = 15;

// The list separator of the program's number format: ";" when the decimal
// separator is ",", else ",".
QChar ListSeparator();

// The lines of `text`, each ended by LF, CR LF or CR; a last line without a
// line break counts too, an empty text has none.
QStringList SplitTextLines(const QString& text);

// The numbers at the start of `line`: blanks and tabs before a number are
// skipped, a number ends at a blank, tab, CR or list separator, and the
// first token that is no number ends the line.
std::vector<long double> ParseNumberLine(const QString& line);

}  // namespace korvan
