#include <algorithm>

#include "model/ColumnTypes.h"
#include "model/TableErrors.h"
#include "model/ValueStream.h"

namespace korvan {

namespace {

// Marks the current layout of a table column in the "Col" stream: a list of
// template identifiers. Older streams hold another string and one number.
const QString kTableLayoutMark = QStringLiteral("FLEXCOLUMN2");

}  // namespace

TTableColumn::TTableColumn(TGridTable& table) : TColumn(table), fTemplates(table.Family().Tables) {}

TTableColumn::~TTableColumn() {
  fControls.clear();
  fTables.clear();
}

void TTableColumn::InsertStorage(int position, int count) {
  for (int i = 0; i < count; ++i) fTables.emplace(fTables.begin() + position);
}

void TTableColumn::AfterInsert(int position, int count) {
  for (int row = position; row < position + count; ++row) UpdateDataValue(row);
  Renumber(position);
}

void TTableColumn::DeleteStorage(int index) {
  fTables.erase(fTables.begin() + index);
  Renumber(index);
}

void TTableColumn::Renumber(int from) {
  for (int row = from; row < static_cast<int>(fTables.size()); ++row) {
    if (TGridTable* table = fTables[static_cast<size_t>(row)].get()) table->SetID(row + 1);
  }
}

// A template that contains (a copy of) the table being filled would nest
// copies without end; such a row holds nothing instead.
bool TTableColumn::WouldRecurse(const TGridTable& source) const {
  for (const TGridTable* table = &Table(); table; table = table->OwnerTable()) {
    if (table == &source || table->Source() == &source) return true;
  }
  return false;
}

void TTableColumn::UpdateDataValue(int row) {
  if (row < 0 || row >= static_cast<int>(fTables.size())) {
    throw EListError(QStringLiteral("Index out of bounds"));
  }
  int choice = 1;
  if (Table().ColCount() > 0) {
    const auto* first = dynamic_cast<const TEnumColumn*>(&Table().GetColumn(0));
    if (first && row < first->Count()) choice = first->GetIntValue(row);
  }
  TGridTable* source =
      choice >= 1 && choice <= fTemplates.Count() ? fTemplates.Elements(choice - 1) : nullptr;
  if (source && WouldRecurse(*source)) source = nullptr;

  std::unique_ptr<TGridTable>& slot = fTables[static_cast<size_t>(row)];
  if (source) {
    std::unique_ptr<TGridTable> fresh(TGridTable::CreateCopy(&Table(), row + 1, *source));
    if (slot) CarryOver(*slot, *fresh);
    slot = std::move(fresh);
  } else {
    slot.reset();  // no template: the row holds nothing
  }
  for (const auto& control : fControls) {
    if (control->Tag() == row) control->SetCaption(ButtonCaption(row));
  }
}

void TTableColumn::CarryOver(const TGridTable&, TGridTable&) const {}

QString TTableColumn::ButtonCaption(int row) const {
  CheckRow(row);
  const TGridTable* table = fTables[static_cast<size_t>(row)].get();
  return QString::number(row + 1) + QStringLiteral(": ") + (table ? table->Caption() : QString());
}

TGridTable* TTableColumn::GetDataValue(int row) const {
  CheckRow(row);
  return fTables[static_cast<size_t>(row)].get();
}

QObject* TTableColumn::GetObjValue(int row) const {
  return GetDataValue(row);
}

bool TTableColumn::Changed() const {
  return std::any_of(fTables.begin(), fTables.end(),
                     [](const auto& table) { return table && table->Changed(); });
}

void TTableColumn::ResetChanged() {
  for (const auto& table : fTables) {
    if (table) table->ResetChanged();
  }
}

void TTableColumn::HideData() {
  for (const auto& table : fTables) {
    if (table) table->Hide();
  }
}

void TTableColumn::SetUnits(int units) {
  for (const auto& table : fTables) {
    if (table) table->SetUnits(units);
  }
}

int TTableColumn::DisplayWidth(const TTextMeasure& measure) const {
  return std::max(TColumn::DisplayWidth(measure), measure.PixelsPerInch * 2);
}

TCellControl* TTableColumn::GetControl(int index) const {
  if (index < 0 || index >= static_cast<int>(fControls.size())) {
    throw EListError(QStringLiteral("Index out of bounds"));
  }
  return fControls[static_cast<size_t>(index)].get();
}

void TTableColumn::AllocateControls(TControlHost* parent, int topRow, int count) {
  if (!parent) throw ETableError(QStringLiteral("null parent"));
  if (fControlsParent && parent != fControlsParent && !fControls.empty()) {
    throw ETableError(QStringLiteral("Attempt to change parent with controls already allocated"));
  }
  if (topRow < 0 || topRow >= Count()) throw ETableError(QStringLiteral("ATopRow %1").arg(topRow));
  if (count < 1 || topRow + count > Count()) {
    throw ETableError(QStringLiteral("ACount %1").arg(count));
  }
  fControlsParent = parent;
  while (static_cast<int>(fControls.size()) > count) fControls.pop_back();
  while (static_cast<int>(fControls.size()) < count)
    fControls.push_back(parent->CreateButton(*this));
  for (int i = 0; i < count; ++i) {
    TCellControl& control = *fControls[static_cast<size_t>(i)];
    control.SetTag(topRow + i);
    control.SetCaption(ButtonCaption(topRow + i));
  }
}

void TTableColumn::ReleaseControls() {
  fControls.clear();
  fControlsParent = nullptr;
}

// A sub-table opens modally under a modal editor, so the user cannot leave
// the outer window with the inner one open.
void TTableColumn::ButtonClick(int row) {
  TGridTable* table = GetDataValue(row);
  if (table == nullptr) return;
  if (Table().IsModal()) {
    table->ShowModal();
  } else {
    table->Show();
  }
}

void TTableColumn::WriteKindPart(TValueWriter& writer) const {
  writer.WriteString(kTableLayoutMark);
  writer.WriteListStart();
  for (int i = 0; i < fTemplates.Count(); ++i) {
    const TIntWrapper& item = fTemplates.Item(i);
    if (item.ByIdentifier) {
      writer.WriteInteger(item.Value);
    } else {
      const TGridTable* table = fTemplates.Elements(i);
      writer.WriteInteger(table ? table->Identifier() : -1);
    }
  }
  writer.WriteListEnd();
}

void TTableColumn::ReadKindPart(TValueReader& reader) {
  fTemplates.Resize(0);
  if (reader.ReadString() == kTableLayoutMark) {
    reader.ReadListStart();
    while (!reader.EndOfList()) fTemplates.AddByIdent(reader.ReadInteger());
    reader.ReadListEnd();
    return;
  }
  // Older layout: one number, a registry position, or one template per
  // choice of column 0 by identifiers 1, 2, ...
  const int position = reader.ReadInteger();
  const TGridTable& table = Table();
  const auto* first =
      table.ColCount() > 0 ? dynamic_cast<const TEnumColumn*>(&table.GetColumn(0)) : nullptr;
  if (!first) {
    fTemplates.Add(position);
    return;
  }
  for (int choice = 1; choice <= first->GetEnumCount(); ++choice) {
    if (table.HardwiredButton()) {
      fTemplates.Add(position);
    } else {
      fTemplates.AddByIdent(choice);
    }
  }
}

void TTableColumn::CopyDefinition(const TColumn& source) {
  fTemplates = static_cast<const TTableColumn&>(source).fTemplates;
}

}  // namespace korvan
