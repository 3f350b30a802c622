// The five column kinds of the plain table family: enumeration, integer,
// float, table (a sub-table per row) and string.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <limits>
#include <memory>
#include <vector>

#include "model/GridTable.h"

namespace korvan {

// Choice cells: 1-based indices into the column's names; 0 or a value beyond
// the names shows no choice.
class TEnumColumn : public TColumn {
 public:
  using TColumn::TColumn;
  static const TColumnClass& Class();
  const TColumnClass& ClassType() const override { return Class(); }

  std::int32_t GetIntValue(int row) const override;
  void SetIntValue(int row, std::int32_t value) override;
  QString GetStringValue(int row) const override;
  void SetStringValue(int row, const QString& value) override;

  const QStringList& Names() const { return fNames; }
  void SetNames(const QStringList& names);
  int GetEnumCount() const override { return static_cast<int>(fNames.size()); }
  QString GetEnumStr(int index) const override;
  void SetEnumStr(int index, const QString& name) override;
  void AddEnumStr(const QString& name) override;
  void DelEnumStr(int index) override;
  void ClearEnumStr() override;

  int DisplayWidth(const TTextMeasure& measure) const override;
  bool HasControl() const override { return true; }
  bool ControlsAllocated() const override { return !fControls.empty(); }
  TCellControl* GetControl(int index) const override;
  void AllocateControls(TControlHost* parent, int topRow, int count) override;
  void ReleaseControls() override;
  // The combo box of `row` chose entry `index` (0-based).
  void ControlChoiceMade(int row, int index);
  // The combo box of `row` got the focus.
  void ControlEntered(int row);

 protected:
  void InsertStorage(int position, int count) override;
  void DeleteStorage(int index) override;
  void WriteKindPart(TValueWriter& writer) const override;
  void ReadKindPart(TValueReader& reader) override;
  void CopyDefinition(const TColumn& source) override;

 private:
  void NamesChanged();
  TCellControl* ControlOfRow(int row) const;

  std::vector<std::int32_t> fValues;
  QStringList fNames;
  std::vector<std::unique_ptr<TCellControl>> fControls;
  TControlHost* fControlsParent = nullptr;
};

class TIntColumn : public TColumn {
 public:
  using TColumn::TColumn;
  static const TColumnClass& Class();
  const TColumnClass& ClassType() const override { return Class(); }

  std::int32_t GetIntValue(int row) const override;
  void SetIntValue(int row, std::int32_t value) override;
  QString GetStringValue(int row) const override;
  void SetStringValue(int row, const QString& value) override;
  int DisplayWidth(const TTextMeasure& measure) const override;

  std::int32_t Default() const { return fDefault; }
  void SetDefault(std::int32_t value) { fDefault = value; }
  std::int32_t Minimum() const { return fMinimum; }
  void SetMinimum(std::int32_t value) { fMinimum = value; }
  std::int32_t Maximum() const { return fMaximum; }
  void SetMaximum(std::int32_t value) { fMaximum = value; }

 protected:
  void InsertStorage(int position, int count) override;
  void DeleteStorage(int index) override;
  void WriteKindPart(TValueWriter& writer) const override;
  void ReadKindPart(TValueReader& reader) override;
  void CopyDefinition(const TColumn& source) override;

 private:
  std::vector<std::int32_t> fValues;
  std::int32_t fDefault = 0;
  std::int32_t fMinimum = std::numeric_limits<std::int32_t>::min();
  std::int32_t fMaximum = std::numeric_limits<std::int32_t>::max();
};

// Reals in the table's unit system, labelled by a unit code. A TopDepth
// column is the top of a layer and the float column after it the bottom.
class TFloatColumn : public TColumn {
 public:
  using TColumn::TColumn;
  static const TColumnClass& Class();
  const TColumnClass& ClassType() const override { return Class(); }

  long double GetFloatValue(int row) const override;
  void SetFloatValue(int row, long double value) override;
  QString GetStringValue(int row) const override;
  void SetStringValue(int row, const QString& value) override;
  QString GetDisplayHeadings(int line) const override;
  int DisplayWidth(const TTextMeasure& measure) const override;
  void SetUnits(int units) override;
  void CheckInsert() const override;

  long double Default() const { return fDefault; }
  void SetDefault(long double value) { fDefault = value; }
  bool TopDepth() const { return fTopDepth; }
  void SetTopDepth(bool value) { fTopDepth = value; }
  const QString& UnitsString() const { return fUnitsString; }
  void SetUnitsString(const QString& code) { fUnitsString = code; }

 protected:
  void InsertStorage(int position, int count) override;
  void DeleteStorage(int index) override;
  void WriteKindPart(TValueWriter& writer) const override;
  void ReadKindPart(TValueReader& reader) override;
  void CopyDefinition(const TColumn& source) override;

 private:
  TFloatColumn* Neighbour(int offset) const;
  TFloatColumn* Bottom() const;  // with TopDepth: the next column
  TFloatColumn* Top() const;     // the previous column when it has TopDepth
  void Store(int row, long double value);

  std::vector<long double> fValues;
  long double fDefault = 0;
  bool fTopDepth = false;
  QString fUnitsString;
};

// One sub-table per row, copied from the template that
// the row's choice in column 0 selects.
class TTableColumn : public TColumn {
 public:
  explicit TTableColumn(TGridTable& table);
  ~TTableColumn() override;
  static const TColumnClass& Class();
  const TColumnClass& ClassType() const override { return Class(); }

  TGridTable* GetDataValue(int row) const override;
  QObject* GetObjValue(int row) const override;
  bool Changed() const override;
  void ResetChanged() override;
  void HideData() override;
  void SetUnits(int units) override;
  int DisplayWidth(const TTextMeasure& measure) const override;

  TGridTableList& Templates() { return fTemplates; }
  const TGridTableList& Templates() const { return fTemplates; }
  // Gives `row` a fresh sub-table for its current choice.
  void UpdateDataValue(int row);
  QString ButtonCaption(int row) const;

  bool HasControl() const override { return true; }
  bool ControlsAllocated() const override { return !fControls.empty(); }
  TCellControl* GetControl(int index) const override;
  void AllocateControls(TControlHost* parent, int topRow, int count) override;
  void ReleaseControls() override;
  // The button of `row` was clicked: open its sub-table.
  void ButtonClick(int row);

 protected:
  void InsertStorage(int position, int count) override;
  void DeleteStorage(int index) override;
  void AfterInsert(int position, int count) override;
  void WriteKindPart(TValueWriter& writer) const override;
  void ReadKindPart(TValueReader& reader) override;
  void CopyDefinition(const TColumn& source) override;
  // Moves values of `previous` into `fresh` when a row changes template; the
  // plain family keeps none.
  virtual void CarryOver(const TGridTable& previous, TGridTable& fresh) const;

 private:
  void Renumber(int from);
  bool WouldRecurse(const TGridTable& source) const;

  std::vector<std::unique_ptr<TGridTable>> fTables;  // one per row, or none
  TGridTableList fTemplates;
  std::vector<std::unique_ptr<TCellControl>> fControls;
  TControlHost* fControlsParent = nullptr;
};

class TStringColumn : public TColumn {
 public:
  using TColumn::TColumn;
  static const TColumnClass& Class();
  const TColumnClass& ClassType() const override { return Class(); }

  QString GetStringValue(int row) const override;
  void SetStringValue(int row, const QString& value) override;
  int DisplayWidth(const TTextMeasure& measure) const override;

  const QString& Default() const { return fDefault; }
  void SetDefault(const QString& value) { fDefault = value; }
  long double MinWidth() const { return fMinWidth; }
  void SetMinWidth(long double inches) { fMinWidth = inches; }

 protected:
  void InsertStorage(int position, int count) override;
  void DeleteStorage(int index) override;
  void WriteKindPart(TValueWriter& writer) const override;
  void ReadKindPart(TValueReader& reader) override;
  void CopyDefinition(const TColumn& source) override;

 private:
  std::vector<QString> fValues;
  QString fDefault;
  long double fMinWidth = 1.0;
};

}  // namespace korvan
