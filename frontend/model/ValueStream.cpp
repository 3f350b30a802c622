#include "model/ValueStream.h"

#include <cmath>
#include <limits>

#include "model/TableErrors.h"

namespace korvan {

namespace {

// Kinds of a stored real besides an ordinary finite number.
enum : std::uint8_t { kFinite = 0, kInfinite = 1, kNaN = 2 };

const QString kReadError = QStringLiteral("Stream read error");
const QString kInvalidValue = QStringLiteral("Invalid property value");

}  // namespace

void TValueWriter::WriteRaw(std::uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) fBytes.append(static_cast<char>((value >> (8 * i)) & 0xFF));
}

void TValueWriter::WriteInteger(std::int32_t value) {
  WriteTag(TValueType::vaInteger);
  WriteRaw(static_cast<std::uint32_t>(value), 4);
}

void TValueWriter::WriteBoolean(bool value) {
  WriteTag(value ? TValueType::vaTrue : TValueType::vaFalse);
}

void TValueWriter::WriteString(const QString& value) {
  const QByteArray utf8 = value.toUtf8();
  WriteTag(TValueType::vaString);
  WriteRaw(static_cast<std::uint32_t>(utf8.size()), 4);
  fBytes.append(utf8);
}

// Layout: kind byte, sign byte, 16-bit exponent, 64-bit mantissa, where the
// value is mantissa * 2^(exponent - 64).
void TValueWriter::WriteFloat(long double value) {
  WriteTag(TValueType::vaExtended);
  std::uint8_t kind = kFinite;
  if (std::isnan(value)) {
    kind = kNaN;
  } else if (std::isinf(value)) {
    kind = kInfinite;
  }
  int exponent = 0;
  std::uint64_t mantissa = 0;
  if (kind == kFinite && value != 0) {
    const long double fraction = std::frexp(std::fabs(value), &exponent);  // [0.5, 1)
    mantissa = static_cast<std::uint64_t>(std::ldexp(fraction, 64));
  }
  fBytes.append(static_cast<char>(kind));
  fBytes.append(static_cast<char>(std::signbit(value) ? 1 : 0));
  WriteRaw(static_cast<std::uint16_t>(static_cast<std::int16_t>(exponent)), 2);
  WriteRaw(mantissa, 8);
}

void TValueReader::Need(qsizetype at, qsizetype bytes) const {
  if (at < 0 || bytes < 0 || at > fBytes.size() || fBytes.size() - at < bytes) {
    throw EReadError(kReadError);
  }
}

std::uint64_t TValueReader::ReadRaw(qsizetype at, int bytes) const {
  Need(at, bytes);
  std::uint64_t value = 0;
  for (int i = 0; i < bytes; ++i) {
    value |= static_cast<std::uint64_t>(static_cast<std::uint8_t>(fBytes[at + i])) << (8 * i);
  }
  return value;
}

TValueType TValueReader::NextValue() const {
  Need(fPosition, 1);
  return static_cast<TValueType>(fBytes[fPosition]);
}

bool TValueReader::EndOfList() const {
  return NextValue() == TValueType::vaListEnd;
}

void TValueReader::Expect(TValueType tag) {
  if (NextValue() != tag) throw EReadError(kInvalidValue);
}

void TValueReader::ReadListStart() {
  Expect(TValueType::vaListStart);
  ++fPosition;
}

void TValueReader::ReadListEnd() {
  Expect(TValueType::vaListEnd);
  ++fPosition;
}

std::int32_t TValueReader::ReadInteger() {
  Expect(TValueType::vaInteger);
  const auto value = static_cast<std::uint32_t>(ReadRaw(fPosition + 1, 4));
  fPosition += 5;
  return static_cast<std::int32_t>(value);
}

bool TValueReader::ReadBoolean() {
  const TValueType tag = NextValue();
  if (tag != TValueType::vaTrue && tag != TValueType::vaFalse) throw EReadError(kInvalidValue);
  ++fPosition;
  return tag == TValueType::vaTrue;
}

QString TValueReader::ReadString() {
  Expect(TValueType::vaString);
  const auto length = static_cast<qsizetype>(ReadRaw(fPosition + 1, 4));
  Need(fPosition + 5, length);
  QString value = QString::fromUtf8(fBytes.constData() + fPosition + 5, length);
  fPosition += 5 + length;
  return value;
}

long double TValueReader::ReadFloat() {
  Expect(TValueType::vaExtended);
  Need(fPosition + 1, 12);
  const auto kind = static_cast<std::uint8_t>(fBytes[fPosition + 1]);
  const bool negative = fBytes[fPosition + 2] != 0;
  const auto exponent =
      static_cast<std::int16_t>(static_cast<std::uint16_t>(ReadRaw(fPosition + 3, 2)));
  const std::uint64_t mantissa = ReadRaw(fPosition + 5, 8);
  long double value = 0;
  switch (kind) {
    case kFinite:
      value = std::ldexp(static_cast<long double>(mantissa), exponent - 64);
      break;
    case kInfinite:
      value = std::numeric_limits<long double>::infinity();
      break;
    case kNaN:
      value = std::numeric_limits<long double>::quiet_NaN();
      break;
    default:
      throw EReadError(kInvalidValue);
  }
  fPosition += 13;
  return negative ? -value : value;
}

}  // namespace korvan
