// The zip container of an .xlsx workbook, read and made whole in memory: enough
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

// The same for a zip file held in memory; `fileName` names it in messages.
std::vector<TZipEntry> ReadZipBytes(const QByteArray& bytes, const QString& fileName);

// The zip file of `entries`, deflated, in memory. Throws EInOutError.
QByteArray ZipBytes(const std::vector<TZipEntry>& entries);

// The data of the entry named `name`, if there is one.
std::optional<QByteArray> ZipEntryData(const std::vector<TZipEntry>& entries, const QString& name);

}  // namespace korvan
