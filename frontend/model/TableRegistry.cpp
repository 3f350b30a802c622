#include "model/TableRegistry.h"

#include <algorithm>

#include "model/GridTable.h"
#include "model/TableErrors.h"

namespace korvan {

void TColumnTypeRegistry::Register(const TColumnClass& columnClass, int index) {
  fEntries.push_back({&columnClass, index});
}

int TColumnTypeRegistry::IndexOf(const TColumnClass& columnClass) const {
  for (const TColumnTypeStorage& entry : fEntries) {
    if (entry.ColumnClass == &columnClass) return entry.Index;
  }
  return -1;
}

const TColumnClass* TColumnTypeRegistry::ClassOf(int index) const {
  for (const TColumnTypeStorage& entry : fEntries) {
    if (entry.Index == index) return entry.ColumnClass;
  }
  return nullptr;
}

int TTableRegistry::Register(TGridTable* table) {
  fTables.push_back(table);
  return fNextIdentifier++;
}

void TTableRegistry::Unregister(TGridTable* table) {
  const auto found = std::find(fTables.begin(), fTables.end(), table);
  if (found != fTables.end()) fTables.erase(found);
}

TGridTable* TTableRegistry::At(int position) const {
  if (position < 0 || position >= Count()) return nullptr;
  return fTables[static_cast<size_t>(position)];
}

int TTableRegistry::PositionOf(const TGridTable* table) const {
  const auto found = std::find(fTables.begin(), fTables.end(), table);
  return found == fTables.end() ? -1 : static_cast<int>(found - fTables.begin());
}

int TTableRegistry::PositionOfIdentifier(int identifier) const {
  for (int i = 0; i < Count(); ++i) {
    if (fTables[static_cast<size_t>(i)]->Identifier() == identifier) return i;
  }
  return -1;
}

void TTableRegistry::ReleaseIdentifier(int identifier, int previous, const TGridTable* keeper) {
  for (TGridTable* table : fTables) {
    if (table != keeper && table->Identifier() == identifier) table->fIdentifier = previous;
  }
}

void TGridTableList::CheckIndex(int index) const {
  if (index < 0 || index >= Count()) throw EListError(QStringLiteral("Index out of bounds"));
}

void TGridTableList::Add(const TGridTable* table) {
  Add(fRegistry->PositionOf(table));
}

void TGridTableList::Insert(int index, int position) {
  if (index < 0 || index > Count()) throw EListError(QStringLiteral("Index out of bounds"));
  fItems.insert(fItems.begin() + index, TIntWrapper{false, position});
}

void TGridTableList::InsertByIdent(int index, int identifier) {
  if (index < 0 || index > Count()) throw EListError(QStringLiteral("Index out of bounds"));
  fItems.insert(fItems.begin() + index, TIntWrapper{true, identifier});
}

void TGridTableList::Delete(int index) {
  CheckIndex(index);
  fItems.erase(fItems.begin() + index);
}

void TGridTableList::Resize(int count) {
  fItems.resize(static_cast<size_t>(std::max(0, count)));
}

const TIntWrapper& TGridTableList::Item(int index) const {
  CheckIndex(index);
  return fItems[static_cast<size_t>(index)];
}

int TGridTableList::TableIndices(int index) const {
  const TIntWrapper& item = Item(index);
  if (!item.ByIdentifier) return item.Value;
  return fRegistry->PositionOfIdentifier(item.Value);
}

TGridTable* TGridTableList::Elements(int index) const {
  return fRegistry->At(TableIndices(index));
}

void TGridTableList::SetElements(int index, const TGridTable* table) {
  CheckIndex(index);
  fItems[static_cast<size_t>(index)] = {false, fRegistry->PositionOf(table)};
}

}  // namespace korvan
