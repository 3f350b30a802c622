// The process-wide registries of one table family: the column kinds with
// their stream numbers, and every live table with its identifier. Templates
// of table columns refer to tables through TGridTableList.
#pragma once

#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

#include "model/TableEditorHooks.h"

namespace korvan {

class TColumn;
class TGridTable;
class TUnitsTable;

// A column class: its name and how to create an empty column of it.
struct TColumnClass {
  const char* Name;
  std::unique_ptr<TColumn> (*Create)(TGridTable& table);
};

// The creation function of a column class.
template <class TKind>
std::unique_ptr<TColumn> CreateColumnOf(TGridTable& table) {
  return std::make_unique<TKind>(table);
}

struct TColumnTypeStorage {
  const TColumnClass* ColumnClass;
  int Index;
};

class TColumnTypeRegistry {
 public:
  void Register(const TColumnClass& columnClass, int index);
  // Kind number of a class, -1 when unknown; the first match wins.
  int IndexOf(const TColumnClass& columnClass) const;
  // Class of a kind number, none when unknown.
  const TColumnClass* ClassOf(int index) const;

 private:
  std::vector<TColumnTypeStorage> fEntries;
};

// Every live table of a family in creation order, with the identifier counter.
class TTableRegistry {
 public:
  // Adds the table and returns its initial identifier.
  int Register(TGridTable* table);
  void Unregister(TGridTable* table);
  int Count() const { return static_cast<int>(fTables.size()); }
  TGridTable* At(int position) const;
  int PositionOf(const TGridTable* table) const;
  // Position of the earliest-created table holding `identifier`, -1 if none.
  int PositionOfIdentifier(int identifier) const;
  // Gives every other table holding `identifier` the identifier `previous`.
  void ReleaseIdentifier(int identifier, int previous, const TGridTable* keeper);

 private:
  std::vector<TGridTable*> fTables;
  int fNextIdentifier = 0;
};

// One template reference: a registry position, or an identifier.
struct TIntWrapper {
  bool ByIdentifier = false;
  std::int32_t Value = -1;
};

class TGridTableList {
 public:
  explicit TGridTableList(const TTableRegistry& registry) : fRegistry(&registry) {}

  void Add(int position) { fItems.push_back({false, position}); }
  void Add(const TGridTable* table);
  void AddByIdent(int identifier) { fItems.push_back({true, identifier}); }
  void Insert(int index, int position);
  void InsertByIdent(int index, int identifier);
  void Delete(int index);
  int Count() const { return static_cast<int>(fItems.size()); }
  // Pads with empty elements or cuts from the end to `count` elements.
  void Resize(int count);
  const TIntWrapper& Item(int index) const;

  // Registry position of element `index`, -1 when it refers to no table.
  int TableIndices(int index) const;
  // The table of element `index`, or none.
  TGridTable* Elements(int index) const;
  void SetElements(int index, const TGridTable* table);

 private:
  void CheckIndex(int index) const;

  const TTableRegistry* fRegistry;
  std::vector<TIntWrapper> fItems;
};

// Everything that differs between the plain and the chart family.
struct TTableFamily {
  TTableRegistry Tables;
  TColumnTypeRegistry ColumnKinds;
  const TUnitsTable& (*Units)();
  TTableEditorFactory EditorFactory;  // installed by the editor windows
};

TTableFamily& PlainFamily();
TTableFamily& ChartFamily();

}  // namespace korvan
