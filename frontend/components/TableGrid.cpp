#include "components/TableGrid.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScrollBar>

namespace korvan {

// Lets the grid refuse a move of the current cell before it happens.
class TGridSelectionModel : public QItemSelectionModel {
 public:
  TGridSelectionModel(TTableGrid* grid) : QItemSelectionModel(grid->model(), grid), fGrid(grid) {}

  void setCurrentIndex(const QModelIndex& index,
                       QItemSelectionModel::SelectionFlags command) override {
    if (!fGrid->fPlacing && index.isValid() && index != currentIndex() && fGrid->SelectCell &&
        !fGrid->SelectCell(index.row(), index.column())) {
      return;
    }
    QItemSelectionModel::setCurrentIndex(index, command);
  }

 private:
  TTableGrid* fGrid;
};

TTableGrid::TTableGrid(QWidget* parent) : QTableWidget(parent), fTopLeft(new QLabel(this)) {
  setSelectionModel(new TGridSelectionModel(this));
  auto* delegate = new TCellDelegate(this);
  setItemDelegate(delegate);
  connect(delegate, &TCellDelegate::enterPressed, this, &TTableGrid::enterPressed);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::AllEditTriggers);
  setTabKeyNavigation(false);
  setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
  setHorizontalScrollMode(QAbstractItemView::ScrollPerItem);
  setWordWrap(false);
  horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  horizontalHeader()->setSectionsClickable(false);
  horizontalHeader()->setHighlightSections(false);
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  verticalHeader()->setSectionsClickable(false);
  verticalHeader()->setHighlightSections(false);
  verticalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  setCornerButtonEnabled(false);
  fTopLeft->setIndent(2);
}

void TTableGrid::PlaceCursor(int row, int column) {
  fPlacing = true;
  setCurrentCell(row, column);
  fPlacing = false;
}

QString TTableGrid::CurrentText() const {
  const QModelIndex current = currentIndex();
  if (auto* editor = qobject_cast<QLineEdit*>(indexWidget(current))) return editor->text();
  const QTableWidgetItem* cell = item(current.row(), current.column());
  return cell ? cell->text() : QString();
}

void TTableGrid::EditCurrentCell() {
  const QModelIndex current = currentIndex();
  if (!current.isValid() || !(model()->flags(current) & Qt::ItemIsEditable)) return;
  if (!indexWidget(current)) edit(current);
}

void TTableGrid::SetCellText(int row, int column, const QString& text) {
  QTableWidgetItem* cell = item(row, column);
  if (!cell) {
    setItem(row, column, new QTableWidgetItem(text));
  } else if (cell->text() != text) {
    cell->setText(text);
  }
}

int TTableGrid::LeftColumn() const {
  return horizontalScrollBar()->value();
}

int TTableGrid::TopRow() const {
  return verticalScrollBar()->value();
}

void TTableGrid::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    emit enterPressed();
    event->accept();
    return;
  }
  QTableWidget::keyPressEvent(event);
}

// The editor stays open on the current cell.
void TTableGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
  QTableWidget::currentChanged(current, previous);
  if (current.isValid() && hasFocus()) EditCurrentCell();
}

void TTableGrid::updateGeometries() {
  QTableWidget::updateGeometries();
  const int frame = frameWidth();
  fTopLeft->setGeometry(frame, frame, verticalHeader()->width(), horizontalHeader()->height());
  fTopLeft->raise();
}

void TTableGrid::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
  QTableWidget::closeEditor(editor, hint);
  if (hint == QAbstractItemDelegate::RevertModelCache) emit editCancelled();
}

QWidget* TCellDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                     const QModelIndex& index) const {
  auto* editor = new QLineEdit(parent);
  editor->setFrame(false);
  // The cell holds what is typed at once, like the cells of a string grid.
  auto* model = const_cast<QAbstractItemModel*>(index.model());
  const QPersistentModelIndex cell(index);
  connect(editor, &QLineEdit::textEdited, editor, [model, cell](const QString& text) {
    if (cell.isValid()) model->setData(cell, text, Qt::EditRole);
  });
  return editor;
}

void TCellDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
  auto* line = static_cast<QLineEdit*>(editor);
  const QString text = index.data(Qt::EditRole).toString();
  if (line->text() != text) line->setText(text);
}

void TCellDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                 const QModelIndex& index) const {
  const QString text = static_cast<QLineEdit*>(editor)->text();
  if (index.data(Qt::EditRole).toString() != text) model->setData(index, text, Qt::EditRole);
}

bool TCellDelegate::eventFilter(QObject* object, QEvent* event) {
  auto* editor = qobject_cast<QLineEdit*>(object);
  if (editor && event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
      emit enterPressed();
      return true;
    }
    if (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down || key->key() == Qt::Key_PageUp ||
        key->key() == Qt::Key_PageDown) {
      return false;  // the grid moves the cursor
    }
  }
  // The grid stores the cell when the focus leaves it; the editor closes
  // only when the cursor moves.
  if (event->type() == QEvent::FocusOut) return false;
  return QStyledItemDelegate::eventFilter(object, event);
}

}  // namespace korvan
