#include "model/ColumnTypes.h"

#include <QtGlobal>
#include <algorithm>
#include <cmath>

#include "model/EntryEvaluator.h"
#include "model/NumberFormat.h"
#include "model/TableErrors.h"
#include "model/Units.h"
#include "model/ValueStream.h"

namespace korvan {

namespace {

constexpr long double kIntMin = std::numeric_limits<std::int32_t>::min();
constexpr long double kIntMax = std::numeric_limits<std::int32_t>::max();

bool InIntRange(long double value) {
  return value >= kIntMin && value <= kIntMax;
}

}  // namespace

// ---------------------------------------------------------------- classes

const TColumnClass& TEnumColumn::Class() {
  static const TColumnClass columnClass{"TEnumColumn", &CreateColumnOf<TEnumColumn>};
  return columnClass;
}

const TColumnClass& TIntColumn::Class() {
  static const TColumnClass columnClass{"TIntColumn", &CreateColumnOf<TIntColumn>};
  return columnClass;
}

const TColumnClass& TFloatColumn::Class() {
  static const TColumnClass columnClass{"TFloatColumn", &CreateColumnOf<TFloatColumn>};
  return columnClass;
}

const TColumnClass& TTableColumn::Class() {
  static const TColumnClass columnClass{"TTableColumn", &CreateColumnOf<TTableColumn>};
  return columnClass;
}

const TColumnClass& TStringColumn::Class() {
  static const TColumnClass columnClass{"TStringColumn", &CreateColumnOf<TStringColumn>};
  return columnClass;
}

// Never destroyed: tables owned by static objects may outlive any exit order.
TTableFamily& PlainFamily() {
  static TTableFamily* family = [] {
    auto* created = new TTableFamily{{}, {}, &StandardUnits, {}};
    created->ColumnKinds.Register(TEnumColumn::Class(), 0);
    created->ColumnKinds.Register(TIntColumn::Class(), 1);
    created->ColumnKinds.Register(TFloatColumn::Class(), 2);
    created->ColumnKinds.Register(TTableColumn::Class(), 3);
    created->ColumnKinds.Register(TStringColumn::Class(), 4);
    return created;
  }();
  return *family;
}

// ---------------------------------------------------------------- TEnumColumn

void TEnumColumn::InsertStorage(int position, int count) {
  fValues.insert(fValues.begin() + position, static_cast<size_t>(count), 1);
}

void TEnumColumn::DeleteStorage(int index) {
  fValues.erase(fValues.begin() + index);
}

std::int32_t TEnumColumn::GetIntValue(int row) const {
  CheckRow(row);
  return fValues[static_cast<size_t>(row)];
}

void TEnumColumn::SetIntValue(int row, std::int32_t value) {
  for (int target : TargetRows(row)) {
    std::int32_t& stored = fValues[static_cast<size_t>(target)];
    if (stored == value) continue;
    stored = value;
    if (TCellControl* control = ControlOfRow(target)) control->SetItemIndex(value - 1);
    CellChanged(target);
  }
}

QString TEnumColumn::GetStringValue(int row) const {
  return QString::number(GetIntValue(row));
}

void TEnumColumn::SetStringValue(int row, const QString& value) {
  CheckRow(row);
  const long double number = EvaluateEntry(value);
  if (number != std::trunc(number) || !InIntRange(number)) {
    throw EAssignError(QStringLiteral("Value must be an integer."));
  }
  SetIntValue(row, static_cast<std::int32_t>(number));
}

void TEnumColumn::SetNames(const QStringList& names) {
  fNames = names;
  NamesChanged();
}

QString TEnumColumn::GetEnumStr(int index) const {
  return index >= 0 && index < GetEnumCount() ? fNames[index] : QString();
}

void TEnumColumn::SetEnumStr(int index, const QString& name) {
  if (index < 0 || index >= GetEnumCount()) return;
  fNames[index] = name;
  NamesChanged();
}

void TEnumColumn::AddEnumStr(const QString& name) {
  fNames.append(name);
  NamesChanged();
}

void TEnumColumn::DelEnumStr(int index) {
  if (index < 0 || index >= GetEnumCount()) return;
  fNames.removeAt(index);
  NamesChanged();
}

void TEnumColumn::ClearEnumStr() {
  fNames.clear();
  NamesChanged();
}

void TEnumColumn::NamesChanged() {
  for (const auto& control : fControls) {
    control->SetItems(fNames);
    const int row = control->Tag();
    control->SetItemIndex(row >= 0 && row < Count() ? fValues[static_cast<size_t>(row)] - 1 : -1);
  }
  if (Hooked()) Table().EnumNamesChanged(*this);
}

int TEnumColumn::DisplayWidth(const TTextMeasure& measure) const {
  return std::max(TColumn::DisplayWidth(measure), measure.PixelsPerInch * 3 / 2);
}

TCellControl* TEnumColumn::GetControl(int index) const {
  if (index < 0 || index >= static_cast<int>(fControls.size())) {
    throw EListError(QStringLiteral("Index out of bounds"));
  }
  return fControls[static_cast<size_t>(index)].get();
}

TCellControl* TEnumColumn::ControlOfRow(int row) const {
  for (const auto& control : fControls) {
    if (control->Tag() == row) return control.get();
  }
  return nullptr;
}

void TEnumColumn::AllocateControls(TControlHost* parent, int topRow, int count) {
  if (!parent) throw ETableError(QStringLiteral("null parent"));
  if (fControlsParent && parent != fControlsParent && !fControls.empty()) {
    throw ETableError(
        QStringLiteral("Error attempt to change parent with controls already allocated"));
  }
  fControlsParent = parent;
  count = std::max(0, count);
  while (static_cast<int>(fControls.size()) > count) fControls.pop_back();
  while (static_cast<int>(fControls.size()) < count) {
    fControls.push_back(parent->CreateComboBox(*this));
  }
  for (int i = 0; i < count; ++i) {
    TCellControl& control = *fControls[static_cast<size_t>(i)];
    const int row = topRow + i;
    control.SetTag(row);
    control.SetItems(fNames);
    control.SetItemIndex(row >= 0 && row < Count() ? fValues[static_cast<size_t>(row)] - 1 : -1);
  }
}

void TEnumColumn::ReleaseControls() {
  fControls.clear();
  fControlsParent = nullptr;
}

void TEnumColumn::ControlChoiceMade(int row, int index) {
  if (index + 1 != GetIntValue(row)) SetIntValue(row, index + 1);
}

void TEnumColumn::ControlEntered(int row) {
  ControlEnteredAt(row);
}

void TEnumColumn::WriteKindPart(TValueWriter& writer) const {
  writer.WriteListStart();
  for (const QString& name : fNames) writer.WriteString(name);
  writer.WriteListEnd();
}

void TEnumColumn::ReadKindPart(TValueReader& reader) {
  QStringList names;
  reader.ReadListStart();
  while (!reader.EndOfList()) names.append(reader.ReadString());
  reader.ReadListEnd();
  fNames = names;
}

void TEnumColumn::CopyDefinition(const TColumn& source) {
  fNames = static_cast<const TEnumColumn&>(source).fNames;
}

// ---------------------------------------------------------------- TIntColumn

void TIntColumn::InsertStorage(int position, int count) {
  fValues.insert(fValues.begin() + position, static_cast<size_t>(count), fDefault);
}

void TIntColumn::DeleteStorage(int index) {
  fValues.erase(fValues.begin() + index);
}

std::int32_t TIntColumn::GetIntValue(int row) const {
  CheckRow(row);
  return fValues[static_cast<size_t>(row)];
}

void TIntColumn::SetIntValue(int row, std::int32_t value) {
  for (int target : TargetRows(row)) {
    fValues[static_cast<size_t>(target)] = value;
    CellChanged(target);
  }
}

QString TIntColumn::GetStringValue(int row) const {
  return QString::number(GetIntValue(row));
}

// The whole-number and range checks belong to the editor window; values that
// arrive otherwise (files, clipboard) are rounded, and only a value that no
// 32-bit integer can hold is refused.
void TIntColumn::SetStringValue(int row, const QString& value) {
  CheckRow(row);
  const long double number = EvaluateEntry(value);
  const QString outOfRange =
      QStringLiteral("Entry must be between %1 and %2.").arg(fMinimum).arg(fMaximum);
  if (Table().FormVisible()) {
    if (!(std::fabs(number - std::trunc(number)) <= 1e-10L)) {
      throw EAssignError(QStringLiteral("Entry must be an integer."));
    }
    if (number < fMinimum || number > fMaximum) throw EAssignError(outOfRange);
  }
  const long double rounded = std::nearbyint(number);
  if (!InIntRange(rounded)) throw EAssignError(outOfRange);
  SetIntValue(row, static_cast<std::int32_t>(rounded));
}

int TIntColumn::DisplayWidth(const TTextMeasure& measure) const {
  return std::max(TColumn::DisplayWidth(measure), measure.PixelsPerInch / 2);
}

void TIntColumn::WriteKindPart(TValueWriter& writer) const {
  writer.WriteInteger(fDefault);
  writer.WriteInteger(fMinimum);
  writer.WriteInteger(fMaximum);
}

void TIntColumn::ReadKindPart(TValueReader& reader) {
  fDefault = reader.ReadInteger();
  fMinimum = reader.ReadInteger();
  fMaximum = reader.ReadInteger();
}

void TIntColumn::CopyDefinition(const TColumn& source) {
  const auto& other = static_cast<const TIntColumn&>(source);
  fDefault = other.fDefault;
  fMinimum = other.fMinimum;
  fMaximum = other.fMaximum;
}

// ---------------------------------------------------------------- TStringColumn

void TStringColumn::InsertStorage(int position, int count) {
  fValues.insert(fValues.begin() + position, static_cast<size_t>(count), fDefault);
}

void TStringColumn::DeleteStorage(int index) {
  fValues.erase(fValues.begin() + index);
}

QString TStringColumn::GetStringValue(int row) const {
  CheckRow(row);
  return fValues[static_cast<size_t>(row)];
}

void TStringColumn::SetStringValue(int row, const QString& value) {
  for (int target : TargetRows(row)) {
    fValues[static_cast<size_t>(target)] = value;
    CellChanged(target);
  }
}

int TStringColumn::DisplayWidth(const TTextMeasure& measure) const {
  // A stored width may be anything; keep the pixel count sane.
  const long double pixels = measure.PixelsPerInch * fMinWidth;
  const int minimum = pixels > 0 ? static_cast<int>(std::lround(std::min(pixels, 1e6L))) : 0;
  return std::max(TColumn::DisplayWidth(measure), minimum);
}

void TStringColumn::WriteKindPart(TValueWriter& writer) const {
  writer.WriteString(fDefault);
  writer.WriteFloat(fMinWidth);
}

void TStringColumn::ReadKindPart(TValueReader& reader) {
  fDefault = reader.ReadString();
  fMinWidth = reader.ReadFloat();
}

void TStringColumn::CopyDefinition(const TColumn& source) {
  const auto& other = static_cast<const TStringColumn&>(source);
  fDefault = other.fDefault;
  fMinWidth = other.fMinWidth;
}

}  // namespace korvan
