// The zip container of an .xlsx workbook, read and written whole: enough
// to touch up parts of a package that the workbook library cannot write,
// and to read a written workbook back.
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>
#include <vector>

namespace korvan {

struct TZipEntry {
  QString Name;
  QByteArray Data;  // uncompressed
};

// The entries of the zip file `fileName` in their stored order. Throws
// EInOutError when the file cannot be read or is not a zip it understands
// (stored or deflated entries, no ZIP64, no encryption).
std::vector<TZipEntry> ReadZip(const QString& fileName);

// Writes `entries` deflated into the zip file `fileName`. Throws EInOutError.
void WriteZip(const QString& fileName, const std::vector<TZipEntry>& entries);

// The data of the entry named `name`, if there is one.
std::optional<QByteArray> ZipEntryData(const std::vector<TZipEntry>& entries, const QString& name);

}  // namespace korvan
