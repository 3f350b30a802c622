#include "graphs/ZipPackage.h"

#include <zlib.h>

#include <QDir>
#include <QFile>
#include <algorithm>
#include <cstdint>

#include "model/Exceptions.h"

namespace korvan {

namespace {

constexpr uint32_t kLocalSignature = 0x04034b50;
constexpr uint32_t kCentralSignature = 0x02014b50;
constexpr uint32_t kEndSignature = 0x06054b50;
constexpr int kLocalHeaderSize = 30;
constexpr int kCentralHeaderSize = 46;
constexpr int kEndRecordSize = 22;
constexpr int kMaxCommentSize = 0xFFFF;
constexpr uint16_t kStored = 0;
constexpr uint16_t kDeflated = 8;
constexpr uint16_t kVersionNeeded = 20;
constexpr uint16_t kUtf8NamesFlag = 0x0800;
constexpr uint16_t kDosDate1980 = 0x0021;

[[noreturn]] void NotAZip(const QString& fileName, const QString& reason) {
  throw EInOutError(QStringLiteral("%1 is not a workbook that can be read: %2")
                        .arg(QDir::toNativeSeparators(fileName), reason));
}

class TReader {
 public:
  TReader(const QByteArray& bytes, const QString& fileName) : fBytes(bytes), fFileName(fileName) {}

  uint32_t U16(qsizetype at) const { return Byte(at) | Byte(at + 1) << 8; }
  uint32_t U32(qsizetype at) const { return U16(at) | U16(at + 2) << 16; }
  QByteArray Bytes(qsizetype at, qsizetype size) const {
    Need(at, size);
    return fBytes.mid(at, size);
  }
  void Need(qsizetype at, qsizetype size) const {
    if (at < 0 || size < 0 || at > fBytes.size() - size)
      NotAZip(fFileName, QStringLiteral("it ends too early"));
  }

 private:
  uint32_t Byte(qsizetype at) const {
    Need(at, 1);
    return static_cast<uint8_t>(fBytes[at]);
  }

  const QByteArray& fBytes;
  const QString& fFileName;
};

QByteArray Inflate(const QByteArray& packed, uint32_t size, const QString& fileName) {
  QByteArray out(static_cast<qsizetype>(size), Qt::Uninitialized);
  z_stream z{};
  if (inflateInit2(&z, -MAX_WBITS) != Z_OK) NotAZip(fileName, QStringLiteral("no inflater"));
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(packed.data()));
  z.avail_in = static_cast<uInt>(packed.size());
  z.next_out = reinterpret_cast<Bytef*>(out.data());
  z.avail_out = static_cast<uInt>(out.size());
  const int result = inflate(&z, Z_FINISH);
  inflateEnd(&z);
  if (result != Z_STREAM_END || z.total_out != size)
    NotAZip(fileName, QStringLiteral("an entry does not inflate"));
  return out;
}

QByteArray Deflate(const QByteArray& data) {
  z_stream z{};
  if (deflateInit2(&z, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) !=
      Z_OK)
    throw EInOutError(QStringLiteral("The workbook could not be compressed."));
  QByteArray out(static_cast<qsizetype>(deflateBound(&z, static_cast<uLong>(data.size()))),
                 Qt::Uninitialized);
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
  z.avail_in = static_cast<uInt>(data.size());
  z.next_out = reinterpret_cast<Bytef*>(out.data());
  z.avail_out = static_cast<uInt>(out.size());
  const int result = deflate(&z, Z_FINISH);
  const auto written = static_cast<qsizetype>(z.total_out);
  deflateEnd(&z);
  if (result != Z_STREAM_END)
    throw EInOutError(QStringLiteral("The workbook could not be compressed."));
  out.truncate(written);
  return out;
}

uint32_t Crc(const QByteArray& data) {
  return static_cast<uint32_t>(crc32(crc32(0, nullptr, 0),
                                     reinterpret_cast<const Bytef*>(data.constData()),
                                     static_cast<uInt>(data.size())));
}

void Put16(QByteArray& out, uint32_t value) {
  out.append(static_cast<char>(value & 0xFF));
  out.append(static_cast<char>((value >> 8) & 0xFF));
}
void Put32(QByteArray& out, uint32_t value) {
  Put16(out, value & 0xFFFF);
  Put16(out, value >> 16);
}

}  // namespace

std::vector<TZipEntry> ReadZip(const QString& fileName) {
  QFile file(fileName);
  if (!file.open(QIODevice::ReadOnly))
    throw EInOutError(QStringLiteral("%1 cannot be opened: %2")
                          .arg(QDir::toNativeSeparators(fileName), file.errorString()));
  return ReadZipBytes(file.readAll(), fileName);
}

std::vector<TZipEntry> ReadZipBytes(const QByteArray& bytes, const QString& fileName) {
  const TReader in(bytes, fileName);

  qsizetype end = bytes.size() - kEndRecordSize;
  const qsizetype lowest = std::max<qsizetype>(0, end - kMaxCommentSize);
  while (end >= lowest && !(end >= 0 && in.U32(end) == kEndSignature)) --end;
  if (end < lowest) NotAZip(fileName, QStringLiteral("no central directory"));
  const uint32_t count = in.U16(end + 10);
  qsizetype at = in.U32(end + 16);

  std::vector<TZipEntry> entries;
  for (uint32_t i = 0; i < count; ++i) {
    if (in.U32(at) != kCentralSignature) NotAZip(fileName, QStringLiteral("a broken directory"));
    const uint32_t flags = in.U16(at + 8);
    const uint32_t method = in.U16(at + 10);
    const uint32_t crc = in.U32(at + 16);
    const uint32_t packedSize = in.U32(at + 20);
    const uint32_t size = in.U32(at + 24);
    const uint32_t nameSize = in.U16(at + 28);
    const uint32_t extraSize = in.U16(at + 30);
    const uint32_t commentSize = in.U16(at + 32);
    const qsizetype local = in.U32(at + 42);
    TZipEntry entry;
    entry.Name = QString::fromUtf8(in.Bytes(at + kCentralHeaderSize, nameSize));
    at += kCentralHeaderSize + nameSize + extraSize + commentSize;

    if ((flags & 1) != 0) NotAZip(fileName, QStringLiteral("an encrypted entry"));
    if (in.U32(local) != kLocalSignature) NotAZip(fileName, QStringLiteral("a broken entry"));
    const qsizetype data = local + kLocalHeaderSize + in.U16(local + 26) + in.U16(local + 28);
    const QByteArray packed = in.Bytes(data, packedSize);
    if (method == kStored)
      entry.Data = packed;
    else if (method == kDeflated)
      entry.Data = Inflate(packed, size, fileName);
    else
      NotAZip(fileName, QStringLiteral("an entry packed in an unknown way"));
    if (Crc(entry.Data) != crc) NotAZip(fileName, QStringLiteral("an entry fails its check"));
    entries.push_back(std::move(entry));
  }
  return entries;
}

QByteArray ZipBytes(const std::vector<TZipEntry>& entries) {
  QByteArray out;
  QByteArray directory;
  for (const TZipEntry& entry : entries) {
    const QByteArray name = entry.Name.toUtf8();
    const QByteArray packed = Deflate(entry.Data);
    const uint32_t crc = Crc(entry.Data);
    const auto offset = static_cast<uint32_t>(out.size());
    auto common = [&](QByteArray& header) {
      Put16(header, kVersionNeeded);
      Put16(header, kUtf8NamesFlag);
      Put16(header, kDeflated);
      Put16(header, 0);  // time 00:00
      Put16(header, kDosDate1980);
      Put32(header, crc);
      Put32(header, static_cast<uint32_t>(packed.size()));
      Put32(header, static_cast<uint32_t>(entry.Data.size()));
      Put16(header, static_cast<uint32_t>(name.size()));
      Put16(header, 0);  // extra field
    };
    Put32(out, kLocalSignature);
    common(out);
    out.append(name);
    out.append(packed);

    Put32(directory, kCentralSignature);
    Put16(directory, kVersionNeeded);  // made by
    common(directory);
    Put16(directory, 0);  // comment
    Put16(directory, 0);  // disk
    Put16(directory, 0);  // internal attributes
    Put32(directory, 0);  // external attributes
    Put32(directory, offset);
    directory.append(name);
  }
  const auto directoryOffset = static_cast<uint32_t>(out.size());
  out.append(directory);
  Put32(out, kEndSignature);
  Put16(out, 0);
  Put16(out, 0);
  Put16(out, static_cast<uint32_t>(entries.size()));
  Put16(out, static_cast<uint32_t>(entries.size()));
  Put32(out, static_cast<uint32_t>(directory.size()));
  Put32(out, directoryOffset);
  Put16(out, 0);
  return out;
}

std::optional<QByteArray> ZipEntryData(const std::vector<TZipEntry>& entries, const QString& name) {
  for (const TZipEntry& entry : entries)
    if (entry.Name == name) return entry.Data;
  return std::nullopt;
}

}  // namespace korvan
