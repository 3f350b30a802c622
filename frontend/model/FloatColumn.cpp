#include <cmath>

#include "model/ColumnTypes.h"
#include "model/EntryEvaluator.h"
#include "model/NumberFormat.h"
#include "model/TableErrors.h"
#include "model/Units.h"
#include "model/ValueStream.h"

namespace korvan {

namespace {

// Marks the current layout of a float column in the "Col" stream; older
// streams hold the unit code in its place and no default.
const QString kFloatLayoutMark = QStringLiteral("FLOATCOLUMN2");

}  // namespace

TFloatColumn* TFloatColumn::Neighbour(int offset) const {
  const int index = Table().IndexOf(this) + offset;
  if (index < 0 || index >= Table().ColCount()) return nullptr;
  return dynamic_cast<TFloatColumn*>(&Table().GetColumn(index));
}

TFloatColumn* TFloatColumn::Bottom() const {
  return fTopDepth ? Neighbour(1) : nullptr;
}

TFloatColumn* TFloatColumn::Top() const {
  TFloatColumn* previous = Neighbour(-1);
  return previous && previous->fTopDepth ? previous : nullptr;
}

// A new top starts at the bottom of the layer above it; a new bottom at the
// top of the layer below it.
void TFloatColumn::CheckInsert() const {
  if (fTopDepth && Table().IndexOf(this) >= 0 && !Bottom()) {
    throw ETableError(
        QStringLiteral("If column if a topdepth then the next column must be a float column"));
  }
}

// A column that has no place in its table yet is being created and holds
// plain defaults.
void TFloatColumn::InsertStorage(int position, int count) {
  TFloatColumn* bottom = nullptr;
  if (fTopDepth && Table().IndexOf(this) >= 0) {
    CheckInsert();
    bottom = Bottom();
  }
  const TFloatColumn* top = Top();
  for (int i = 0; i < count; ++i) {
    const int p = position + i;
    long double value = fDefault;
    if (bottom) {
      if (p >= 1 && p <= static_cast<int>(bottom->fValues.size()) - 1) {
        value = bottom->fValues[static_cast<size_t>(p - 1)];
      }
    } else if (top && p + 1 < static_cast<int>(top->fValues.size())) {
      value = top->fValues[static_cast<size_t>(p + 1)];
    }
    fValues.insert(fValues.begin() + p, value);
  }
}

void TFloatColumn::DeleteStorage(int index) {
  const TFloatColumn* bottom = Bottom();
  const int rows = static_cast<int>(fValues.size());
  if (bottom && index > 0 && index < rows - 1 &&
      index - 1 < static_cast<int>(bottom->fValues.size())) {
    fValues[static_cast<size_t>(index + 1)] = bottom->fValues[static_cast<size_t>(index - 1)];
  }
  fValues.erase(fValues.begin() + index);
}

long double TFloatColumn::GetFloatValue(int row) const {
  CheckRow(row);
  return fValues[static_cast<size_t>(row)];
}

// Top and bottom of adjacent layers are one depth: storing either stores the
// other.
void TFloatColumn::Store(int row, long double value) {
  fValues[static_cast<size_t>(row)] = value;
  CellChanged(row);
  if (TFloatColumn* bottom = Bottom(); bottom && row >= 1 && row - 1 < bottom->Count()) {
    bottom->fValues[static_cast<size_t>(row - 1)] = value;
    bottom->CellChanged(row - 1);
  }
  if (TFloatColumn* top = Top(); top && row + 1 < top->Count()) {
    top->fValues[static_cast<size_t>(row + 1)] = value;
    top->CellChanged(row + 1);
  }
}

void TFloatColumn::SetFloatValue(int row, long double value) {
  for (int target : TargetRows(row)) Store(target, value);
}

QString TFloatColumn::GetStringValue(int row) const {
  return FormatGeneral(GetFloatValue(row), 8);
}

// An entry the project cannot keep is refused before it is stored, as the
// numeric fields refuse it.
void TFloatColumn::SetStringValue(int row, const QString& value) {
  CheckRow(row);
  const long double number = EvaluateEntry(value);
  CheckStorable(number);
  SetFloatValue(row, number);
}

QString TFloatColumn::GetDisplayHeadings(int line) const {
  QString heading = TColumn::GetDisplayHeadings(line);
  if (line == DisplayHeadingCount() - 1 && !fUnitsString.isEmpty()) {
    heading += QStringLiteral(" (") +
               Table().Family().Units().UnitsText(fUnitsString, Table().Units()) +
               QStringLiteral(")  ");
  }
  return heading;
}

int TFloatColumn::DisplayWidth(const TTextMeasure& measure) const {
  return std::max(TColumn::DisplayWidth(measure), measure.PixelsPerInch / 2);
}

void TFloatColumn::SetUnits(int units) {
  const long double factor =
      Table().Family().Units().ConvertFactor(Table().Units(), units, fUnitsString);
  for (int row = 0; row < Count(); ++row) {
    fValues[static_cast<size_t>(row)] *= factor;
    CellChanged(row);
  }
}

void TFloatColumn::WriteKindPart(TValueWriter& writer) const {
  writer.WriteBoolean(fTopDepth);
  writer.WriteString(kFloatLayoutMark);
  writer.WriteString(fUnitsString);
  writer.WriteFloat(fDefault);
}

void TFloatColumn::ReadKindPart(TValueReader& reader) {
  fTopDepth = reader.ReadBoolean();
  const QString mark = reader.ReadString();
  if (mark == kFloatLayoutMark) {
    fUnitsString = reader.ReadString();
    fDefault = reader.ReadFloat();
  } else {
    fUnitsString = mark;
    fDefault = 0;
  }
}

void TFloatColumn::CopyDefinition(const TColumn& source) {
  const auto& other = static_cast<const TFloatColumn&>(source);
  fTopDepth = other.fTopDepth;
  fUnitsString = other.fUnitsString;
  fDefault = other.fDefault;
}

}  // namespace korvan
