// Data-entry grid tables: a table of typed columns whose cells hold the
// project's tabular values, with unit switching, sub-tables in table columns,
// change tracking and the "Col" stream of the column definitions. The editor
// windows attach through the interfaces of TableEditorHooks.h.
#pragma once

#include <QImage>
#include <QObject>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>
#include <vector>

#include "model/TableEditorHooks.h"
#include "model/TableRegistry.h"

namespace korvan {

class TColumn;
class TEnumColumn;
class TTableColumn;
class TValueReader;
class TValueWriter;

// A cell handle: it finds its row as its own position in its column, so it
// stays on its cell when rows are inserted or deleted above it.
class TData {
 public:
  explicit TData(TColumn& column) : BaseCol(&column) {}

  int Row() const;
  long double Float() const;
  void SetFloat(long double value);
  std::int32_t Int() const;
  void SetInt(std::int32_t value);
  QString Value() const;
  void SetValue(const QString& value);
  TGridTable* Data() const;

  TColumn* const BaseCol;
};

class TColumn {
 public:
  explicit TColumn(TGridTable& table) : fTable(&table) {}
  virtual ~TColumn() = default;
  TColumn(const TColumn&) = delete;
  TColumn& operator=(const TColumn&) = delete;

  virtual const TColumnClass& ClassType() const = 0;
  TGridTable& Table() const { return *fTable; }

  // Rows.
  int Count() const { return static_cast<int>(fData.size()); }
  void InsertRows(int position, int count);
  // Raises the error InsertRows would raise for this column's definition.
  virtual void CheckInsert() const {}
  void DeleteRow(int index);
  TData* GetData(int row) const;
  int RowOf(const TData* data) const;
  // The table's row group once the column has its place in the table, else 1.
  int RowGroup() const;

  // Definition.
  const QStringList& Heading() const { return fHeading; }
  void SetHeading(const QStringList& heading) { fHeading = heading; }
  bool Visible() const { return fVisible; }
  void SetVisible(bool visible) { fVisible = visible; }
  bool SameGroup() const { return fSameGroup; }
  void SetSameGroup(bool sameGroup) { fSameGroup = sameGroup; }
  int DisplayHeadingCount() const { return static_cast<int>(fHeading.size()); }
  virtual QString GetDisplayHeadings(int line) const;
  virtual int DisplayWidth(const TTextMeasure& measure) const;

  // Typed access; a kind answers only the accessors that fit its storage.
  virtual TGridTable* GetDataValue(int row) const;
  virtual QObject* GetObjValue(int row) const;
  virtual long double GetFloatValue(int row) const;
  virtual void SetFloatValue(int row, long double value);
  virtual std::int32_t GetIntValue(int row) const;
  virtual void SetIntValue(int row, std::int32_t value);
  virtual QString GetStringValue(int row) const;
  virtual void SetStringValue(int row, const QString& value);

  // Enumeration names; other kinds have none.
  virtual int GetEnumCount() const { return 0; }
  virtual QString GetEnumStr(int index) const;
  virtual void SetEnumStr(int index, const QString& name);
  virtual void AddEnumStr(const QString& name);
  virtual void DelEnumStr(int index);
  virtual void ClearEnumStr() {}

  virtual bool Changed() const { return false; }
  virtual void ResetChanged() {}
  virtual void HideData() {}
  virtual void SetUnits(int units);

  // Cell controls of an open editor window.
  virtual bool HasControl() const { return false; }
  virtual bool ControlsAllocated() const { return false; }
  virtual TCellControl* GetControl(int index) const;
  virtual void AllocateControls(TControlHost* parent, int topRow, int count);
  virtual void ReleaseControls() {}

  // The column's part of the "Col" stream (the kind number is the table's).
  void WriteToStream(TValueWriter& writer) const;
  void ReadFromStream(TValueReader& reader);
  // A new column of the same class and definition, without values.
  std::unique_ptr<TColumn> Clone(TGridTable& newTable) const;

 protected:
  virtual void InsertStorage(int position, int count) = 0;
  virtual void DeleteStorage(int index) = 0;
  // Runs after new rows have storage and handles (table columns make their
  // sub-tables here).
  virtual void AfterInsert(int position, int count);
  virtual void WriteKindPart(TValueWriter& writer) const;
  virtual void ReadKindPart(TValueReader& reader);
  virtual void CopyDefinition(const TColumn& source);

  void CheckRow(int row) const;
  // Rows that receive a value stored in `row`: its whole row group with
  // SameGroup, else the row alone.
  std::vector<int> TargetRows(int row) const;
  // Tell the table, once the column has its place in it: a cell changed, a
  // cell control got the focus.
  void CellChanged(int row);
  void ControlEnteredAt(int row);
  bool Hooked() const { return fHooked; }
  [[noreturn]] static void WrongType();

 private:
  friend class TGridTable;

  TGridTable* fTable;
  bool fHooked = false;  // the table has taken the column (HookColumn)
  std::vector<std::unique_ptr<TData>> fData;
  QStringList fHeading;
  bool fSameGroup = false;
  bool fVisible = true;
};

class TGridTable : public QObject {
  Q_OBJECT

 public:
  // A table whose owner is another table is a row of it (OwnerTable), held
  // by that table's column alone; any other owner is the table's QObject
  // parent.
  explicit TGridTable(QObject* owner = nullptr);
  // A table with Source's definition (no values) and `id` as its row number.
  static TGridTable* CreateCopy(QObject* owner, int id, const TGridTable& source);
  ~TGridTable() override;

  // Columns.
  TColumn& AddColumn(const TColumnClass& columnClass);
  TColumn& InsertColumn(int index, const TColumnClass& columnClass);
  void DeleteColumn(int index);
  TColumn& ReplaceColumn(int index, const TColumnClass& newClass);
  TColumn& GetColumn(int index) const;
  int IndexOf(const TColumn* column) const;
  int ColCount() const { return static_cast<int>(fColumns.size()); }
  int VisibleColCount() const;
  TColumn& VisibleColumn(int n) const;
  int VisibleIndexOf(const TColumn* column) const;
  int HeadingRows() const;

  // Rows.
  int RowCount() const { return fRowCount; }
  void SetRowCount(int count);
  int MinRows() const { return fMinRows; }
  void SetMinRows(int rows);
  int MaxRows() const { return fMaxRows; }
  void SetMaxRows(int rows) { fMaxRows = rows; }
  int RowGroup() const { return fRowGroup; }
  void SetRowGroup(int rows) { fRowGroup = rows < 1 ? 1 : rows; }
  void AddRowGroup();
  void InsertRowGroup(int row);
  void DeleteRowGroup(int row);

  // Cells.
  bool CellExists(int col, int row) const;
  TData* GetData(int col, int row) const;
  long double GetFloatValue(int col, int row) const;
  void SetFloatValue(int col, int row, long double value);
  std::int32_t GetIntValue(int col, int row) const;
  void SetIntValue(int col, int row, std::int32_t value);
  QString GetStringValue(int col, int row) const;
  void SetStringValue(int col, int row, const QString& value);
  TGridTable* GetDataValue(int col, int row) const;

  // Settings.
  int ID() const { return fID; }
  void SetID(int id);
  QString IDPath() const;
  const QString& Caption() const { return fCaption; }
  void SetCaption(const QString& caption) { fCaption = caption; }
  const QString& Comments() const { return fComments; }
  void SetComments(const QString& comments) { fComments = comments; }
  const QString& TopLeft() const { return fTopLeft; }
  void SetTopLeft(const QString& text) { fTopLeft = text; }
  bool HardwiredButton() const { return fHardwiredButton; }
  void SetHardwiredButton(bool value) { fHardwiredButton = value; }
  int Identifier() const { return fIdentifier; }
  void SetIdentifier(int identifier);
  const QImage& HelpPicture() const { return fHelpPicture; }
  void SetHelpPicture(const QImage& picture);
  QObject* FormParent() const { return fFormParent; }
  void SetFormParent(QObject* parent) { fFormParent = parent; }
  // The table being built from its stored definition: MinRows accepts 0.
  void SetLoading(bool loading) { fLoading = loading; }
  bool Loading() const { return fLoading; }

  int Units() const { return fUnits; }
  void SetUnits(int units);

  bool Changed() const;
  void SetChanged(bool changed);
  void ResetChanged();

  // The "Col" stream of the column definitions.
  void WriteColumns(TValueWriter& writer) const;
  void ReadColumns(TValueReader& reader);

  // Editor window.
  void Show();
  void ShowModal();
  void Hide();
  void Update();
  void Updater();
  bool IsModal() const;
  bool FormVisible() const { return fForm != nullptr; }
  int FormWidth() const;
  int FormHeight() const;
  TTableEditor* Form() const { return fForm; }
  void AttachForm(TTableEditor* form, TControlHost* controlParent);
  void DetachForm();
  TControlHost* ColControlParent() const { return fColControlParent; }

  TTableFamily& Family() const { return *fFamily; }
  // The table this one is a row of, or none.
  TGridTable* OwnerTable() const;
  // The template this table was copied from, or none.
  const TGridTable* Source() const { return fSource; }
  void MajorChange();
  void SyncTemplates();

 signals:
  // The structure changed (columns, rows, definitions): an open editor
  // builds its grid again.
  void majorChange();
  // One cell (column index, row) changed: an open editor shows its text.
  void cellChanged(int column, int row);
  // The cell control of (column index, row) got the focus.
  void controlEntered(int column, int row);

 protected:
  TGridTable(QObject* owner, TTableFamily& family);
  // Copies Source's definition into this new table (see CreateCopy).
  void CopyFrom(int id, const TGridTable& source);
  // A new empty table of this table's family.
  virtual TGridTable* NewTable(QObject* owner) const;
  virtual void CopySettingsFrom(const TGridTable& source);
  virtual void WriteExtras(TValueWriter& writer) const;
  virtual void ReadExtras(TValueReader& reader);

 private:
  friend class TTableRegistry;
  friend class TColumn;
  friend class TEnumColumn;

  void HookColumn(TColumn& column);
  void AllocateColumnControls(TColumn& column);
  TColumn& PlaceColumn(int index, std::unique_ptr<TColumn> column);
  void ColumnCellChanged(TColumn& column, int row);
  void ColumnEnterControl(TColumn& column, int row);
  void EnumNamesChanged(TEnumColumn& column);
  TColumn& CheckedColumn(int col) const;
  void CloseForm();
  // Every column can take new rows; checked before any column changes.
  void CheckInsert() const;
  void OpenForm(bool modal);

  TTableFamily* fFamily;
  int fID = 0;
  QString fCaption;
  bool fChanged = false;
  QString fComments;
  bool fHardwiredButton = false;
  int fIdentifier = 0;
  int fMinRows = 1;
  int fMaxRows = 0;
  int fRowCount = 0;
  int fRowGroup = 1;
  QString fTopLeft;
  int fUnits = 1;
  QObject* fFormParent = nullptr;
  TControlHost* fColControlParent = nullptr;
  QImage fHelpPicture;
  std::vector<std::unique_ptr<TColumn>> fColumns;
  TTableEditor* fForm = nullptr;
  const TGridTable* fSource = nullptr;
  TGridTable* fOwnerTable = nullptr;
  bool fLoading = false;
};

}  // namespace korvan
