// The grid of the table editor windows: a table widget with the row labels
// in its vertical header, the heading lines in its horizontal header and an
// editor that stays open on the current cell. Moving the current cell asks
// the window first (SelectCell), so that a refused entry keeps the cursor.
#pragma once

#include <QLabel>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <functional>

namespace korvan {

class TTableGrid : public QTableWidget {
  Q_OBJECT

 public:
  explicit TTableGrid(QWidget* parent);

  // Asked before the current cell moves to (row, column) of the grid's
  // model; false keeps it where it is.
  std::function<bool(int row, int column)> SelectCell;

  // Moves the current cell without asking.
  void PlaceCursor(int row, int column);
  // The text of the current cell, with what is typed into its open editor.
  QString CurrentText() const;
  // Opens the editor of the current cell when it takes text.
  void EditCurrentCell();
  void SetCellText(int row, int column, const QString& text);
  QLabel* TopLeftLabel() const { return fTopLeft; }
  int LeftColumn() const;
  int TopRow() const;

 signals:
  void enterPressed();
  // Escape in the cell editor: the cell shows the stored value again.
  void editCancelled();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
  void updateGeometries() override;
  void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

 private:
  friend class TGridSelectionModel;
  bool fPlacing = false;
  QLabel* fTopLeft;
};

// Cell editor: the typed text reaches the cell as it is typed, Enter goes to
// the grid, and re-showing the cell does not move the text cursor.
class TCellDelegate : public QStyledItemDelegate {
  Q_OBJECT

 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                        const QModelIndex& index) const override;
  void setEditorData(QWidget* editor, const QModelIndex& index) const override;
  void setModelData(QWidget* editor, QAbstractItemModel* model,
                    const QModelIndex& index) const override;

 signals:
  void enterPressed() const;

 protected:
  bool eventFilter(QObject* object, QEvent* event) override;
};

}  // namespace korvan
