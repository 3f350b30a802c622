// TTableForm: the editor window of a grid table. A grid with a row per table
// row and a column per visible table column, the Add/Insert/Delete Row
// buttons, the table's comments and help picture, and cell controls laid
// over enumeration and sub-table cells. Cells are stored one by one as the
// cursor leaves them; an entry that does not evaluate keeps the cursor.
#pragma once

#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QSize>
#include <functional>

#include "components/GridSnap.h"
#include "components/TableGrid.h"
#include "model/GridTable.h"
#include "model/TableEditorHooks.h"
#include "platform/qt/child_window.h"

class QEventLoop;

namespace korvan {

class TTableForm : public platform::TChildWindow, public TTableEditor, public TControlHost {
  Q_OBJECT

 public:
  // The window of `table`; a modal one is a free-standing top-level window,
  // and one whose table names a FormParent is embedded in it.
  TTableForm(TGridTable& table, bool modal);
  ~TTableForm() override;

  // TTableEditor
  void ShowEditor() override;
  void ShowEditorModal() override;
  void CloseEditor() override;
  bool IsModal() const override { return fModalLoop != nullptr; }
  int FormWidth() const override;
  int FormHeight() const override;
  void SetCaptionText(const QString& caption) override;
  void HelpPictureChanged() override;
  int TopRow() const override;
  int RowsVisible() const override { return fRowsVisible; }
  // The table's signals while the window shows it: a cell's new text, the
  // structure built again, a cell control that got the focus.
  void CellChanged(int column, int row);
  void RefreshGrid();
  void EnterControl(int column, int row);

  // TControlHost
  std::unique_ptr<TCellControl> CreateComboBox(TEnumColumn& column) override;
  std::unique_ptr<TCellControl> CreateButton(TTableColumn& column) override;

  // Stores the current cell into the table; an invalid entry shows its
  // message and keeps the cursor in the cell (false).
  bool StoreCurrentCell();
  bool CommitEdits() override { return StoreCurrentCell(); }

  TGridTable* Data() const { return fData; }
  TTableGrid* Grid() const { return fGrid; }
  int HeadingRows() const { return fHeadingRows; }
  int ColumnsVisible() const { return fColumnsVisible; }
  QPushButton* BtnAdd() const { return fBtnAdd; }
  QPushButton* BtnIns() const { return fBtnIns; }
  QPushButton* BtnDel() const { return fBtnDel; }
  QLabel* Comments() const { return fComments; }
  QLabel* HelpImage() const { return fHelpImage; }
  QSize sizeHint() const override { return fClientSize; }

  void BtnAddClick();
  void BtnInsClick();
  void BtnDelClick();

 protected:
  // The gap between the parts of the window.
  int Gap() const { return logicalDpiX() / 20; }
  // The most rows the window shows at once.
  virtual int MaxRowsInView() const;
  // Places what lies above the grid and returns the grid's top; widens
  // `right` to the right edge of what it placed.
  virtual int PlaceAboveGrid(int gridWidth, int& right);
  // Places what lies between the row buttons and the comments, from `top`
  // on; returns the top of the comments and widens `right` to its parts.
  virtual int PlaceBelowButtons(int rowButtonsTop, int top, int& right);
  // Runs after the table's values changed in the window.
  virtual void ValuesChanged() {}
  // Adds a row group as Add Row does: the view grows with it.
  void AddRowInView();
  // Runs a change of the rows with the grid's notifications suspended,
  // shows a refusal, and redraws.
  void ChangeRows(const std::function<void()>& change);
  // The grid's current row, or -1 after "Grid.Row not in valid range".
  int CurrentRowInRange() const;
  // Deletes rows from the end down to `rows` (at least MinRows).
  void DeleteRowsAfter(int rows);
  void SuspendRefresh(bool suspended) { fSuspended = suspended; }
  void ArrangeLayout();
  void FormDeactivate() override;
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  QPushButton* NewButton(const QString& caption);

 private:
  void FormShow();
  void ShowOnce();
  bool StoreCell(QString* error);
  void ReportEntryError(const QString& message);
  bool GridSelectCell(int row, int column);
  void GridEnter();
  void GridExit();
  void ShowCellTexts();
  void PlaceControls();
  void SnapToGrid();
  void SetClientSize(int width, int height);
  bool IsControlColumn(int gridColumn) const;
  int FirstTextColumn(int from) const;
  void Detach();

  TGridTable* fData;
  int fHeadingRows = 0;
  int fColumnsVisible = 0;
  int fRowsVisible = 0;
  int fRowHeight = 20;
  TTableGrid* fGrid;
  QPushButton* fBtnAdd;
  QPushButton* fBtnIns;
  QPushButton* fBtnDel;
  QLabel* fComments;
  QLabel* fHelpImage;
  bool fModal;
  QEventLoop* fModalLoop = nullptr;
  bool fShown = false;
  bool fSuspended = false;
  bool fArranging = false;
  bool fSnapQueued = false;
  bool fReporting = false;
  bool fClosingByTable = false;
  TGridView fView;
  TGridSizes fSizes;
  QSize fClientSize;
  QSize fDraggedFrom;
};

}  // namespace korvan
