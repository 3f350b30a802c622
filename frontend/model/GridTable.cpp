#include "model/GridTable.h"

#include <algorithm>

#include "model/ColumnTypes.h"
#include "model/TableErrors.h"
#include "model/ValueStream.h"

namespace korvan {

namespace {

const QString kIndexOutOfBounds = QStringLiteral("Index out of bounds");

QString ErrorText(const std::exception& error) {
  if (const auto* known = dynamic_cast<const EKorvanError*>(&error)) return known->Message();
  return QString::fromStdString(error.what());
}

}  // namespace

// ---------------------------------------------------------------- TGridTable

TGridTable::TGridTable(QObject* owner) : TGridTable(owner, PlainFamily()) {}

TGridTable::TGridTable(QObject* owner, TTableFamily& family)
    : QObject(qobject_cast<TGridTable*>(owner) ? nullptr : owner),
      fFamily(&family),
      fOwnerTable(qobject_cast<TGridTable*>(owner)) {
  fIdentifier = family.Tables.Register(this);
  if (const TGridTable* ownerTable = OwnerTable()) fUnits = ownerTable->Units();
}

TGridTable* TGridTable::CreateCopy(QObject* owner, int id, const TGridTable& source) {
  std::unique_ptr<TGridTable> copy(source.NewTable(owner));
  copy->CopyFrom(id, source);
  return copy.release();
}

TGridTable* TGridTable::NewTable(QObject* owner) const {
  return new TGridTable(owner);
}

void TGridTable::CopyFrom(int id, const TGridTable& source) {
  fSource = &source;
  fCaption = source.fCaption;
  fComments = source.fComments;
  fTopLeft = source.fTopLeft;
  fHelpPicture = source.fHelpPicture;
  fMinRows = source.fMinRows;
  fMaxRows = source.fMaxRows;
  CopySettingsFrom(source);
  for (const auto& column : source.fColumns) PlaceColumn(ColCount(), column->Clone(*this));
  SetID(id);
  SetRowCount(fMinRows);
  MajorChange();
}

void TGridTable::CopySettingsFrom(const TGridTable&) {}

TGridTable::~TGridTable() {
  try {
    CloseForm();
  } catch (...) {
    // A window that fails to close must not keep the table alive.
  }
  fForm = nullptr;
  fColumns.clear();
  fFamily->Tables.Unregister(this);
}

TGridTable* TGridTable::OwnerTable() const {
  return fOwnerTable;
}

// ---------------------------------------------------------------- columns

TColumn& TGridTable::CheckedColumn(int col) const {
  if (col < 0 || col >= ColCount()) throw EListError(kIndexOutOfBounds);
  return *fColumns[static_cast<size_t>(col)];
}

TColumn& TGridTable::GetColumn(int index) const {
  return CheckedColumn(index);
}

int TGridTable::IndexOf(const TColumn* column) const {
  for (int i = 0; i < ColCount(); ++i) {
    if (fColumns[static_cast<size_t>(i)].get() == column) return i;
  }
  return -1;
}

TColumn& TGridTable::PlaceColumn(int index, std::unique_ptr<TColumn> column) {
  if (index < 0 || index > ColCount()) throw EListError(kIndexOutOfBounds);
  HookColumn(*column);
  TColumn& placed = *column;
  fColumns.insert(fColumns.begin() + index, std::move(column));
  if (fForm) AllocateColumnControls(placed);
  SyncTemplates();
  return placed;
}

TColumn& TGridTable::AddColumn(const TColumnClass& columnClass) {
  return PlaceColumn(ColCount(), columnClass.Create(*this));
}

TColumn& TGridTable::InsertColumn(int index, const TColumnClass& columnClass) {
  return PlaceColumn(index, columnClass.Create(*this));
}

void TGridTable::DeleteColumn(int index) {
  CheckedColumn(index);
  fColumns.erase(fColumns.begin() + index);
  SyncTemplates();
}

TColumn& TGridTable::ReplaceColumn(int index, const TColumnClass& newClass) {
  TColumn& old = CheckedColumn(index);
  std::unique_ptr<TColumn> fresh = newClass.Create(*this);
  fresh->SetHeading(old.Heading());
  fresh->SetVisible(old.Visible());
  fresh->SetSameGroup(old.SameGroup());
  HookColumn(*fresh);
  TColumn& placed = *fresh;
  std::unique_ptr<TColumn> previous = std::move(fColumns[static_cast<size_t>(index)]);
  fColumns[static_cast<size_t>(index)] = std::move(fresh);
  previous.reset();
  if (fForm) AllocateColumnControls(placed);
  SyncTemplates();
  return placed;
}

int TGridTable::VisibleColCount() const {
  return static_cast<int>(std::count_if(fColumns.begin(), fColumns.end(),
                                        [](const auto& column) { return column->Visible(); }));
}

TColumn& TGridTable::VisibleColumn(int n) const {
  int seen = 0;
  for (const auto& column : fColumns) {
    if (column->Visible() && seen++ == n) return *column;
  }
  throw EListError(kIndexOutOfBounds);
}

int TGridTable::VisibleIndexOf(const TColumn* column) const {
  int seen = 0;
  for (const auto& candidate : fColumns) {
    if (!candidate->Visible()) continue;
    if (candidate.get() == column) return seen;
    ++seen;
  }
  return -1;
}

int TGridTable::HeadingRows() const {
  int rows = 0;
  for (const auto& column : fColumns) {
    if (column->Visible()) rows = std::max(rows, column->DisplayHeadingCount());
  }
  return rows;
}

void TGridTable::HookColumn(TColumn& column) {
  column.fHooked = true;
  // Filled before it takes its place, so the new rows hold plain defaults.
  if (column.Count() < fRowCount) column.InsertRows(column.Count(), fRowCount - column.Count());
}

// Cell controls for the rows the open editor shows.
void TGridTable::AllocateColumnControls(TColumn& column) {
  if (!column.Visible() || !column.HasControl() || !fColControlParent || fRowCount <= 0) return;
  const int top = std::clamp(fForm->TopRow(), 0, fRowCount - 1);
  const int count = std::clamp(fForm->RowsVisible(), 1, fRowCount - top);
  column.AllocateControls(fColControlParent, top, count);
}

void TGridTable::ColumnCellChanged(TColumn& column, int row) {
  const int index = IndexOf(&column);
  if (index == 0 && dynamic_cast<TEnumColumn*>(&column)) {
    for (const auto& candidate : fColumns) {
      auto* tableColumn = dynamic_cast<TTableColumn*>(candidate.get());
      if (!tableColumn) continue;
      if (row < tableColumn->Count()) tableColumn->UpdateDataValue(row);
      break;
    }
  }
  emit cellChanged(index, row);
}

void TGridTable::ColumnEnterControl(TColumn& column, int row) {
  emit controlEntered(IndexOf(&column), row);
}

void TGridTable::EnumNamesChanged(TEnumColumn& column) {
  if (IndexOf(&column) == 0) SyncTemplates();
}

void TGridTable::SyncTemplates() {
  int count = 1;
  if (ColCount() > 0) {
    if (const auto* first = dynamic_cast<const TEnumColumn*>(fColumns.front().get())) {
      count = first->GetEnumCount();
    }
  }
  for (const auto& column : fColumns) {
    if (auto* tableColumn = dynamic_cast<TTableColumn*>(column.get())) {
      tableColumn->Templates().Resize(count);
    }
  }
}

void TGridTable::MajorChange() {
  emit majorChange();
}

// ---------------------------------------------------------------- rows

void TGridTable::CheckInsert() const {
  for (const auto& column : fColumns) column->CheckInsert();
}

void TGridTable::SetRowCount(int count) {
  count = std::max(0, count);
  if (count % fRowGroup != 0) count += fRowGroup - count % fRowGroup;  // whole groups only
  if (count > fRowCount) CheckInsert();
  for (const auto& column : fColumns) {
    while (column->Count() > count) column->DeleteRow(column->Count() - 1);
    if (column->Count() < count) column->InsertRows(column->Count(), count - column->Count());
  }
  const bool changed = count != fRowCount;
  fRowCount = count;
  // An open editor shows the new rows (the project model resets them).
  if (changed) MajorChange();
}

void TGridTable::SetMinRows(int rows) {
  if (rows <= 0) {
    if (!fLoading) throw ETableError(QStringLiteral("Value must be greater than 0"));
    rows = 1;
  }
  fMinRows = rows;
}

void TGridTable::AddRowGroup() {
  CheckInsert();
  for (const auto& column : fColumns) column->InsertRows(column->Count(), fRowGroup);
  fRowCount += fRowGroup;
}

void TGridTable::InsertRowGroup(int row) {
  if (row < 0 || row > fRowCount) throw EListError(kIndexOutOfBounds);
  CheckInsert();
  const int first = row / fRowGroup * fRowGroup;
  for (const auto& column : fColumns)
    column->InsertRows(std::min(first, column->Count()), fRowGroup);
  fRowCount += fRowGroup;
}

void TGridTable::DeleteRowGroup(int row) {
  if (row < 0 || row >= fRowCount) throw EListError(kIndexOutOfBounds);
  const int first = row / fRowGroup * fRowGroup;
  const int count = std::min(fRowGroup, fRowCount - first);
  for (const auto& column : fColumns) {
    for (int i = 0; i < count && first < column->Count(); ++i) column->DeleteRow(first);
  }
  fRowCount -= count;
}

// ---------------------------------------------------------------- cells

bool TGridTable::CellExists(int col, int row) const {
  return col >= 0 && col < ColCount() && row >= 0 &&
         row < fColumns[static_cast<size_t>(col)]->Count();
}

TData* TGridTable::GetData(int col, int row) const {
  return CheckedColumn(col).GetData(row);
}

long double TGridTable::GetFloatValue(int col, int row) const {
  return CheckedColumn(col).GetFloatValue(row);
}

void TGridTable::SetFloatValue(int col, int row, long double value) {
  CheckedColumn(col).SetFloatValue(row, value);
}

std::int32_t TGridTable::GetIntValue(int col, int row) const {
  return CheckedColumn(col).GetIntValue(row);
}

void TGridTable::SetIntValue(int col, int row, std::int32_t value) {
  CheckedColumn(col).SetIntValue(row, value);
}

QString TGridTable::GetStringValue(int col, int row) const {
  return CheckedColumn(col).GetStringValue(row);
}

void TGridTable::SetStringValue(int col, int row, const QString& value) {
  CheckedColumn(col).SetStringValue(row, value);
}

TGridTable* TGridTable::GetDataValue(int col, int row) const {
  return CheckedColumn(col).GetDataValue(row);
}

// ---------------------------------------------------------------- settings

void TGridTable::SetID(int id) {
  fID = id;
  if (fForm) fForm->SetCaptionText(fCaption + QStringLiteral(" ") + IDPath());
}

QString TGridTable::IDPath() const {
  const TGridTable* owner = OwnerTable();
  if (!owner) return QString();
  QString path = owner->IDPath();
  if (fID != 0) path += QStringLiteral(" ") + QString::number(fID);
  return path;
}

void TGridTable::SetIdentifier(int identifier) {
  if (identifier < 0) return;
  fFamily->Tables.ReleaseIdentifier(identifier, fIdentifier, this);
  fIdentifier = identifier;
}

void TGridTable::SetHelpPicture(const QImage& picture) {
  fHelpPicture = picture;
  if (fForm) fForm->HelpPictureChanged();
}

void TGridTable::SetUnits(int units) {
  if (units == fUnits || units < 1 || units > 3) return;
  for (const auto& column : fColumns) column->SetUnits(units);
  fUnits = units;
  MajorChange();
}

bool TGridTable::Changed() const {
  if (fChanged) return true;
  return std::any_of(fColumns.begin(), fColumns.end(),
                     [](const auto& column) { return column->Changed(); });
}

void TGridTable::SetChanged(bool changed) {
  if (changed) {
    fChanged = true;
  } else {
    ResetChanged();
  }
}

void TGridTable::ResetChanged() {
  fChanged = false;
  for (const auto& column : fColumns) column->ResetChanged();
}

// ---------------------------------------------------------------- stream

void TGridTable::WriteColumns(TValueWriter& writer) const {
  writer.WriteInteger(ColCount());
  for (const auto& column : fColumns) {
    writer.WriteInteger(fFamily->ColumnKinds.IndexOf(column->ClassType()));
    column->WriteToStream(writer);
  }
  WriteExtras(writer);
}

void TGridTable::ReadColumns(TValueReader& reader) {
  int count = 0;
  try {
    count = reader.ReadInteger();
  } catch (const std::exception&) {
    throw EReadError(QStringLiteral("Error reading column count"));
  }
  if (count < 0) throw EReadError(QStringLiteral("Error reading column count"));
  while (ColCount() > 0) DeleteColumn(ColCount() - 1);
  for (int k = 0; k < count; ++k) {
    const TColumnClass* columnClass = nullptr;
    try {
      columnClass = fFamily->ColumnKinds.ClassOf(reader.ReadInteger());
    } catch (const std::exception& error) {
      throw EReadError(
          QStringLiteral("Error occured when creating column %1: %2").arg(k).arg(ErrorText(error)));
    }
    if (!columnClass) throw EReadError(QStringLiteral("Error Column Class not defined"));
    try {
      std::unique_ptr<TColumn> column = columnClass->Create(*this);
      column->ReadFromStream(reader);
      PlaceColumn(ColCount(), std::move(column));
    } catch (const std::exception& error) {
      throw EReadError(
          QStringLiteral("Error occured when creating column %1: %2").arg(k).arg(ErrorText(error)));
    }
  }
  ReadExtras(reader);
  MajorChange();
}

void TGridTable::WriteExtras(TValueWriter&) const {}
void TGridTable::ReadExtras(TValueReader&) {}

// ---------------------------------------------------------------- editor window

void TGridTable::OpenForm(bool modal) {
  if (VisibleColCount() == 0) return;
  if (!fForm) {
    if (!fFamily->EditorFactory) return;
    fForm = fFamily->EditorFactory(*this, modal);
    if (!fForm) return;
  }
  if (modal) {
    fForm->ShowEditorModal();
  } else {
    fForm->ShowEditor();
  }
}

void TGridTable::Show() {
  OpenForm(false);
}
void TGridTable::ShowModal() {
  OpenForm(true);
}

void TGridTable::CloseForm() {
  if (!fForm) return;
  TTableEditor* form = fForm;
  form->CloseEditor();
  if (fForm == form) DetachForm();
}

void TGridTable::Hide() {
  CloseForm();
  for (const auto& column : fColumns) column->HideData();
}

void TGridTable::Update() {
  if (!fForm) return;
  Hide();
  Show();
}

void TGridTable::Updater() {
  CloseForm();
}

bool TGridTable::IsModal() const {
  return fForm && fForm->IsModal();
}
int TGridTable::FormWidth() const {
  return fForm ? fForm->FormWidth() : 0;
}
int TGridTable::FormHeight() const {
  return fForm ? fForm->FormHeight() : 0;
}

void TGridTable::AttachForm(TTableEditor* form, TControlHost* controlParent) {
  fForm = form;
  fColControlParent = controlParent;
  for (const auto& column : fColumns) AllocateColumnControls(*column);
}

void TGridTable::DetachForm() {
  for (const auto& column : fColumns) column->ReleaseControls();
  fColControlParent = nullptr;
  fForm = nullptr;
}

}  // namespace korvan
