// The typed value encoding in which grid tables keep their column definitions:
// each value is a one-byte tag followed by its payload, little-endian. Reals
// are kept exactly (sign, binary exponent and a 64-bit mantissa) so that a
// definition reads back bit for bit on every platform.
#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>

namespace korvan {

enum class TValueType : std::uint8_t {
  vaListStart = 1,
  vaListEnd = 2,
  vaInteger = 3,
  vaFalse = 4,
  vaTrue = 5,
  vaString = 6,
  vaExtended = 7,
};

class TValueWriter {
 public:
  void WriteListStart() { WriteTag(TValueType::vaListStart); }
  void WriteListEnd() { WriteTag(TValueType::vaListEnd); }
  void WriteInteger(std::int32_t value);
  void WriteBoolean(bool value);
  void WriteString(const QString& value);
  void WriteFloat(long double value);

  const QByteArray& Bytes() const { return fBytes; }

 private:
  void WriteTag(TValueType tag) { fBytes.append(static_cast<char>(tag)); }
  void WriteRaw(std::uint64_t value, int bytes);

  QByteArray fBytes;
};

// Reads the values back in order; a value of another type than asked for, or
// the end of the data, raises EReadError and leaves the position unchanged.
class TValueReader {
 public:
  explicit TValueReader(QByteArray bytes) : fBytes(std::move(bytes)) {}

  TValueType NextValue() const;
  bool EndOfList() const;
  bool AtEnd() const { return fPosition >= fBytes.size(); }

  void ReadListStart();
  void ReadListEnd();
  std::int32_t ReadInteger();
  bool ReadBoolean();
  QString ReadString();
  long double ReadFloat();

 private:
  void Expect(TValueType tag);
  std::uint64_t ReadRaw(qsizetype at, int bytes) const;
  void Need(qsizetype at, qsizetype bytes) const;

  QByteArray fBytes;
  qsizetype fPosition = 0;
};

}  // namespace korvan
