#include <algorithm>

#include "model/GridTable.h"
#include "model/TableErrors.h"
#include "model/ValueStream.h"

namespace korvan {

namespace {

const QString kIndexOutOfBounds = QStringLiteral("Index out of bounds");

}  // namespace

// ---------------------------------------------------------------- TData

int TData::Row() const {
  return BaseCol->RowOf(this);
}
long double TData::Float() const {
  return BaseCol->GetFloatValue(Row());
}
void TData::SetFloat(long double value) {
  BaseCol->SetFloatValue(Row(), value);
}
std::int32_t TData::Int() const {
  return BaseCol->GetIntValue(Row());
}
void TData::SetInt(std::int32_t value) {
  BaseCol->SetIntValue(Row(), value);
}
QString TData::Value() const {
  return BaseCol->GetStringValue(Row());
}
void TData::SetValue(const QString& value) {
  BaseCol->SetStringValue(Row(), value);
}
TGridTable* TData::Data() const {
  return BaseCol->GetDataValue(Row());
}

// ---------------------------------------------------------------- TColumn

void TColumn::InsertRows(int position, int count) {
  if (count <= 0) return;
  if (position < 0 || position > Count()) throw EListError(kIndexOutOfBounds);
  InsertStorage(position, count);
  for (int i = 0; i < count; ++i) {
    fData.insert(fData.begin() + position + i, std::make_unique<TData>(*this));
  }
  AfterInsert(position, count);
}

void TColumn::DeleteRow(int index) {
  CheckRow(index);
  DeleteStorage(index);
  fData.erase(fData.begin() + index);
}

TData* TColumn::GetData(int row) const {
  CheckRow(row);
  return fData[static_cast<size_t>(row)].get();
}

int TColumn::RowOf(const TData* data) const {
  for (size_t i = 0; i < fData.size(); ++i) {
    if (fData[i].get() == data) return static_cast<int>(i);
  }
  return -1;
}

void TColumn::CheckRow(int row) const {
  if (row < 0 || row >= Count()) throw EListError(kIndexOutOfBounds);
}

std::vector<int> TColumn::TargetRows(int row) const {
  CheckRow(row);
  if (!fSameGroup) return {row};
  const int group = std::max(1, RowGroup());
  const int first = row / group * group;
  std::vector<int> rows;
  for (int r = first; r < std::min(first + group, Count()); ++r) rows.push_back(r);
  return rows;
}

int TColumn::RowGroup() const {
  return fHooked ? fTable->RowGroup() : 1;
}

void TColumn::CellChanged(int row) {
  if (fHooked) fTable->ColumnCellChanged(*this, row);
}

void TColumn::ControlEnteredAt(int row) {
  if (fHooked) fTable->ColumnEnterControl(*this, row);
}

void TColumn::WrongType() {
  throw EInvalidCast(QStringLiteral("Data of wrong type"));
}

QString TColumn::GetDisplayHeadings(int line) const {
  return line >= 0 && line < DisplayHeadingCount() ? fHeading[line] : QString();
}

int TColumn::DisplayWidth(const TTextMeasure& measure) const {
  int width = 0;
  if (!measure.TextWidth) return width;
  for (int line = 0; line < DisplayHeadingCount(); ++line) {
    width = std::max(width, measure.TextWidth(GetDisplayHeadings(line) + QStringLiteral("  ")));
  }
  return width;
}

TGridTable* TColumn::GetDataValue(int) const {
  WrongType();
}
QObject* TColumn::GetObjValue(int) const {
  WrongType();
}
long double TColumn::GetFloatValue(int) const {
  WrongType();
}
void TColumn::SetFloatValue(int, long double) {
  WrongType();
}
std::int32_t TColumn::GetIntValue(int) const {
  WrongType();
}
void TColumn::SetIntValue(int, std::int32_t) {
  WrongType();
}
QString TColumn::GetStringValue(int) const {
  return QString();
}
void TColumn::SetStringValue(int, const QString&) {}

QString TColumn::GetEnumStr(int) const {
  return QString();
}
void TColumn::SetEnumStr(int, const QString&) {}
void TColumn::AddEnumStr(const QString&) {}
void TColumn::DelEnumStr(int) {}
void TColumn::SetUnits(int) {}
TCellControl* TColumn::GetControl(int) const {
  return nullptr;
}
void TColumn::AllocateControls(TControlHost*, int, int) {}
void TColumn::AfterInsert(int, int) {}
void TColumn::WriteKindPart(TValueWriter&) const {}
void TColumn::ReadKindPart(TValueReader&) {}
void TColumn::CopyDefinition(const TColumn&) {}

void TColumn::WriteToStream(TValueWriter& writer) const {
  writer.WriteListStart();
  for (const QString& line : fHeading) writer.WriteString(line);
  writer.WriteListEnd();
  writer.WriteBoolean(fVisible);
  writer.WriteBoolean(fSameGroup);
  WriteKindPart(writer);
}

void TColumn::ReadFromStream(TValueReader& reader) {
  reader.ReadListStart();
  fHeading.clear();
  while (!reader.EndOfList()) fHeading.append(reader.ReadString());
  reader.ReadListEnd();
  fVisible = reader.ReadBoolean();
  fSameGroup = reader.ReadBoolean();
  ReadKindPart(reader);
}

std::unique_ptr<TColumn> TColumn::Clone(TGridTable& newTable) const {
  std::unique_ptr<TColumn> column = ClassType().Create(newTable);
  column->fHeading = fHeading;
  column->fVisible = fVisible;
  column->fSameGroup = fSameGroup;
  column->CopyDefinition(*this);
  return column;
}

}  // namespace korvan
