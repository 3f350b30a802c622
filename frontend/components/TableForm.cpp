#include "components/TableForm.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QEventLoop>
#include <QHeaderView>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>
#include <algorithm>

#include "components/CellControls.h"
#include "model/ColumnTypes.h"
#include "model/Exceptions.h"
#include "model/TableValues.h"
#include "platform/qt/message_box.h"

namespace korvan {

namespace {

constexpr int kRowsInView = 10;
const QString kRowNotInRange = QStringLiteral("Grid.Row not in valid range");

// Restores a flag when it goes out of scope, also on an exception.
class TFlagScope {
 public:
  explicit TFlagScope(bool& flag) : fFlag(flag), fOld(flag) { fFlag = true; }
  ~TFlagScope() { fFlag = fOld; }
  TFlagScope(const TFlagScope&) = delete;
  TFlagScope& operator=(const TFlagScope&) = delete;

 private:
  bool& fFlag;
  bool fOld;
};

// The table's texts use "\r" as a line break.
QString DisplayLines(QString text) {
  text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return text;
}

QWidget* EmbeddingParent(const TGridTable& table) {
  return qobject_cast<QWidget*>(table.FormParent());
}

}  // namespace

TTableForm::TTableForm(TGridTable& table, bool modal)
    : TChildWindow(EmbeddingParent(table)),
      fData(&table),
      fGrid(new TTableGrid(this)),
      fComments(new QLabel(this)),
      fHelpImage(new QLabel(this)),
      fModal(modal && EmbeddingParent(table) == nullptr) {
  setFont(QFont(QStringLiteral("Liberation Sans"), 8));
  if (parentWidget()) {
    move(0, 0);  // embedded without a border
  } else {
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
  }
  fBtnAdd = NewButton(QStringLiteral("&Add Row"));
  fBtnIns = NewButton(QStringLiteral("&Insert Row"));
  fBtnDel = NewButton(QStringLiteral("&Delete Row"));
  connect(fBtnAdd, &QPushButton::clicked, this, &TTableForm::BtnAddClick);
  connect(fBtnIns, &QPushButton::clicked, this, &TTableForm::BtnInsClick);
  connect(fBtnDel, &QPushButton::clicked, this, &TTableForm::BtnDelClick);
  fComments->hide();
  fHelpImage->hide();

  // Rows tall enough for the drop-down lists laid over them.
  QComboBox probe;
  probe.setFont(font());
  fRowHeight = std::max(fontMetrics().height() + 6, probe.sizeHint().height());
  fGrid->verticalHeader()->setMinimumSectionSize(1);
  fGrid->verticalHeader()->setDefaultSectionSize(fRowHeight);
  fGrid->SelectCell = [this](int row, int column) { return GridSelectCell(row, column); };
  connect(fGrid, &TTableGrid::enterPressed, this, &TTableForm::GridEnter);
  connect(
      fGrid, &TTableGrid::editCancelled, this,
      [this] {
        ShowCellTexts();
        fGrid->EditCurrentCell();
      },
      Qt::QueuedConnection);
  const auto topLeftChanged = [this] {
    if (fArranging || fSuspended || !fData) return;
    fView.LeftCol = fGrid->LeftColumn();
    fView.TopRow = fGrid->TopRow();
    ArrangeLayout();
  };
  connect(fGrid->horizontalScrollBar(), &QScrollBar::valueChanged, this, topLeftChanged);
  connect(fGrid->verticalScrollBar(), &QScrollBar::valueChanged, this, topLeftChanged);
  connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) {
    if (!fData || fModal || !old || !now) return;
    const bool wasInGrid = old == fGrid || fGrid->isAncestorOf(old);
    const bool inGrid = now == fGrid || fGrid->isAncestorOf(now);
    if (wasInGrid && !inGrid && isAncestorOf(now)) GridExit();
  });
}

TTableForm::~TTableForm() {
  // The grid gives up the focus while it is destroyed with this window's
  // children, after this object's own members are gone.
  disconnect(qApp, &QApplication::focusChanged, this, nullptr);
  Detach();
}

QPushButton* TTableForm::NewButton(const QString& caption) {
  auto* button = new QPushButton(caption, this);
  button->setAutoDefault(false);
  button->resize(button->sizeHint());
  return button;
}

// ---------------------------------------------------------------- showing

void TTableForm::ShowOnce() {
  if (fShown) return;
  fShown = true;
  FormShow();
}

void TTableForm::FormShow() {
  fData->SetRowCount(std::max(fData->RowCount(), fData->MinRows()));
  SetCaptionText(fData->Caption() + QStringLiteral(" ") + fData->IDPath());
  fGrid->TopLeftLabel()->setText(fData->TopLeft());
  fComments->setText(DisplayLines(fData->Comments()));
  fHelpImage->setPixmap(QPixmap::fromImage(fData->HelpPicture()));
  fColumnsVisible = fData->VisibleColCount();
  fRowsVisible = std::min(fData->RowCount(), MaxRowsInView());
  fData->AttachForm(this, this);
  connect(fData, &TGridTable::cellChanged, this, &TTableForm::CellChanged);
  connect(fData, &TGridTable::majorChange, this, &TTableForm::RefreshGrid);
  connect(fData, &TGridTable::controlEntered, this, &TTableForm::EnterControl);
  RefreshGrid();
  const int first = FirstTextColumn(0);
  if (first >= 0 && fGrid->rowCount() > 0) fGrid->PlaceCursor(0, first);
}

void TTableForm::ShowEditor() {
  ShowOnce();
  ShowChild();
  ArrangeLayout();  // scroll positions take hold once the grid is shown
  fGrid->setFocus();
  fGrid->EditCurrentCell();
}

void TTableForm::ShowEditorModal() {
  if (!fModal) {
    ShowEditor();
    return;
  }
  if (fModalLoop) {
    raise();
    activateWindow();
    return;
  }
  ShowOnce();
  setWindowModality(Qt::ApplicationModal);
  show();
  ArrangeLayout();
  raise();
  activateWindow();
  fGrid->setFocus();
  fGrid->EditCurrentCell();
  QEventLoop loop;
  fModalLoop = &loop;
  const QPointer<TTableForm> self(this);
  loop.exec(QEventLoop::DialogExec);
  if (self) self->fModalLoop = nullptr;
}

// The table closes its window (it hides or goes away): no questions asked.
void TTableForm::CloseEditor() {
  fClosingByTable = true;
  Detach();
  if (fModalLoop) fModalLoop->quit();
  QWidget* frame = Frame();
  frame->close();
  frame->deleteLater();
}

void TTableForm::Detach() {
  if (!fData) return;
  TGridTable* table = fData;
  fData = nullptr;
  disconnect(table, nullptr, this, nullptr);
  if (table->Form() == this) table->DetachForm();
}

void TTableForm::closeEvent(QCloseEvent* event) {
  if (!fClosingByTable && fData && !StoreCurrentCell()) {
    event->ignore();
    return;
  }
  Detach();
  if (fModalLoop) fModalLoop->quit();
  TChildWindow::closeEvent(event);
}

int TTableForm::FormWidth() const {
  return const_cast<TTableForm*>(this)->Frame()->width();
}

int TTableForm::FormHeight() const {
  return const_cast<TTableForm*>(this)->Frame()->height();
}

void TTableForm::SetCaptionText(const QString& caption) {
  setWindowTitle(caption);
}

void TTableForm::HelpPictureChanged() {
  if (!fData) return;
  fHelpImage->setPixmap(QPixmap::fromImage(fData->HelpPicture()));
  ArrangeLayout();
}

int TTableForm::TopRow() const {
  return fView.TopRow;
}

int TTableForm::MaxRowsInView() const {
  return kRowsInView;
}

// ---------------------------------------------------------------- grid

bool TTableForm::IsControlColumn(int gridColumn) const {
  return fData && gridColumn >= 0 && gridColumn < fData->VisibleColCount() &&
         fData->VisibleColumn(gridColumn).HasControl();
}

// The first column from `from` on (wrapping round) whose cells take text.
int TTableForm::FirstTextColumn(int from) const {
  const int columns = fGrid->columnCount();
  for (int i = 0; i < columns; ++i) {
    const int column = (from + i) % columns;
    if (!IsControlColumn(column)) return column;
  }
  return -1;
}

void TTableForm::RefreshGrid() {
  if (fSuspended || !fData) return;
  const int visible = fData->VisibleColCount();
  const int rows = fData->RowCount();
  fColumnsVisible = fColumnsVisible < 1 ? visible : std::min(fColumnsVisible, visible);
  fRowsVisible = fRowsVisible < 1 ? std::min(rows, MaxRowsInView()) : std::min(fRowsVisible, rows);
  fHeadingRows = fData->HeadingRows();

  const int currentRow = fGrid->currentRow();
  const int currentColumn = fGrid->currentColumn();
  fGrid->setRowCount(rows);
  fGrid->setColumnCount(visible);

  const QFontMetrics metrics = fGrid->fontMetrics();
  const int pixelsPerInch = logicalDpiX();
  int fixedWidth = std::max(metrics.horizontalAdvance(fData->TopLeft() + QStringLiteral("  ")),
                            pixelsPerInch / 3);
  QStringList rowLabels;
  for (int row = 0; row < rows; ++row) {
    rowLabels.append(QString::number(row / fData->RowGroup() + 1));
    fixedWidth =
        std::max(fixedWidth, metrics.horizontalAdvance(rowLabels.back() + QStringLiteral("  ")));
  }
  fGrid->setVerticalHeaderLabels(rowLabels);
  fGrid->verticalHeader()->setFixedWidth(fixedWidth);

  const TTextMeasure measure{
      pixelsPerInch, [&metrics](const QString& text) { return metrics.horizontalAdvance(text); }};
  QStringList headings;
  for (int v = 0; v < visible; ++v) {
    const TColumn& column = fData->VisibleColumn(v);
    fGrid->setColumnWidth(v, column.DisplayWidth(measure));
    QStringList lines;
    for (int line = 0; line < fHeadingRows; ++line) lines.append(column.GetDisplayHeadings(line));
    headings.append(lines.join(QLatin1Char('\n')));
    const Qt::ItemFlags flags = column.HasControl()
                                    ? Qt::ItemIsEnabled | Qt::ItemIsSelectable
                                    : Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
    for (int row = 0; row < rows; ++row) {
      fGrid->SetCellText(row, v, column.HasControl() ? QString() : column.GetStringValue(row));
      fGrid->item(row, v)->setFlags(flags);
    }
  }
  fGrid->setHorizontalHeaderLabels(headings);
  fGrid->horizontalHeader()->setVisible(fHeadingRows > 0);
  fGrid->horizontalHeader()->setFixedHeight(fHeadingRows * fRowHeight);

  const bool rowButtons = fData->MinRows() != fData->MaxRows();
  const bool belowMax = fData->MaxRows() == 0 || rows < fData->MaxRows();
  for (QPushButton* button : {fBtnAdd, fBtnIns, fBtnDel}) button->setVisible(rowButtons);
  fBtnAdd->setEnabled(belowMax);
  fBtnIns->setEnabled(belowMax);
  fBtnDel->setEnabled(fData->MinRows() < rows);

  if (rows > 0 && visible > 0) {
    const int row = std::clamp(currentRow, 0, rows - 1);
    int column = std::clamp(currentColumn, 0, visible - 1);
    if (IsControlColumn(column) && FirstTextColumn(column) >= 0) column = FirstTextColumn(column);
    fGrid->PlaceCursor(row, column);
  }
  ArrangeLayout();
  ValuesChanged();
}

void TTableForm::ShowCellTexts() {
  if (!fData) return;
  const int rows = std::min(fData->RowCount(), fGrid->rowCount());
  for (int v = 0; v < std::min(fData->VisibleColCount(), fGrid->columnCount()); ++v) {
    const TColumn& column = fData->VisibleColumn(v);
    if (column.HasControl()) continue;
    for (int row = 0; row < std::min(rows, column.Count()); ++row) {
      fGrid->SetCellText(row, v, column.GetStringValue(row));
    }
  }
}

void TTableForm::CellChanged(int column, int row) {
  if (!fData || fSuspended || column < 0 || column >= fData->ColCount()) return;
  const TColumn& changed = fData->GetColumn(column);
  const int v = fData->VisibleIndexOf(&changed);
  if (v < 0 || changed.HasControl() || row < 0 || row >= fGrid->rowCount() ||
      v >= fGrid->columnCount()) {
    return;
  }
  fGrid->SetCellText(row, v, changed.GetStringValue(row));
}

// ---------------------------------------------------------------- storing

// Stores the current cell's text. A text that still reads as the stored
// value is not stored again, so that moving the cursor never rounds a value
// to its display; the table is marked changed only when the stored value
// changed, so that a window left as it was marks nothing.
bool TTableForm::StoreCell(QString* error) {
  if (!fData) return true;
  const int row = fGrid->currentRow();
  const int v = fGrid->currentColumn();
  if (row < 0 || v < 0 || row >= fData->RowCount() || v >= fData->VisibleColCount()) return true;
  TColumn& column = fData->VisibleColumn(v);
  if (column.HasControl()) return true;
  const QString text = fGrid->CurrentText();
  const TCellValue before = CellValue(column, row);
  try {
    if (text != column.GetStringValue(row)) column.SetStringValue(row, text);
  } catch (const EKorvanError& failure) {
    *error = failure.Message();
    return false;
  }
  if (CellValue(column, row) != before) fData->SetChanged(true);
  fGrid->SetCellText(row, v, column.GetStringValue(row));
  return true;
}

bool TTableForm::StoreCurrentCell() {
  QString error;
  if (StoreCell(&error)) {
    ShowCellTexts();
    ValuesChanged();
    return true;
  }
  if (!fReporting) {
    const TFlagScope reporting(fReporting);
    platform::ShowInformation(error);
  }
  if (isVisible()) {
    fGrid->setFocus();
    fGrid->EditCurrentCell();
  }
  return false;
}

// After a focus change the message comes once that change is through.
void TTableForm::ReportEntryError(const QString& message) {
  if (fReporting) return;
  fReporting = true;
  const bool reactivate = !fModal && !isActiveWindow();
  QMetaObject::invokeMethod(
      this,
      [this, message, reactivate] {
        platform::ShowInformation(message);
        fReporting = false;
        if (!fData || !isVisible()) return;
        if (reactivate) ShowChild();
        fGrid->setFocus();
        fGrid->EditCurrentCell();
      },
      Qt::QueuedConnection);
}

bool TTableForm::GridSelectCell(int row, int column) {
  static_cast<void>(row);
  if (!fData) return true;
  if (fReporting) return false;
  QString error;
  if (!StoreCell(&error)) {
    ReportEntryError(error);
    return false;
  }
  ShowCellTexts();
  ValuesChanged();
  return !IsControlColumn(column);
}

// Enter: down the column, then to the top of the next column that takes
// text, from the last column back to the first.
void TTableForm::GridEnter() {
  if (!fData) return;
  QString error;
  if (!StoreCell(&error)) {
    ReportEntryError(error);
    return;
  }
  ShowCellTexts();
  ValuesChanged();
  int row = fGrid->currentRow() + 1;
  int column = fGrid->currentColumn();
  if (column < 0) return;
  if (row >= fGrid->rowCount()) {
    row = 0;
    column = FirstTextColumn((column + 1) % std::max(1, fGrid->columnCount()));
    if (column < 0) return;
  }
  fGrid->PlaceCursor(row, column);
  fGrid->EditCurrentCell();
}

void TTableForm::GridExit() {
  QString error;
  if (!StoreCell(&error)) {
    ReportEntryError(error);
    return;
  }
  ShowCellTexts();
  ValuesChanged();
}

void TTableForm::FormDeactivate() {
  if (!fData || fModal || fClosingByTable) return;
  GridExit();
}

void TTableForm::EnterControl(int column, int row) {
  if (!fData || column < 0 || column >= fData->ColCount()) return;
  QString error;
  if (!StoreCell(&error)) {
    ReportEntryError(error);
    return;
  }
  ShowCellTexts();
  ValuesChanged();
  const int v = fData->VisibleIndexOf(&fData->GetColumn(column));
  if (v >= 0 && row >= 0 && row < fGrid->rowCount()) fGrid->PlaceCursor(row, v);
}

// ---------------------------------------------------------------- rows

void TTableForm::AddRowInView() {
  if (fRowsVisible == fData->RowCount()) {
    fRowsVisible = std::min(fRowsVisible + fData->RowGroup(), MaxRowsInView());
  }
  fData->AddRowGroup();
}

void TTableForm::DeleteRowsAfter(int rows) {
  rows = std::max(rows, fData->MinRows());
  while (fData->RowCount() > rows) fData->DeleteRowGroup(fData->RowCount() - 1);
}

void TTableForm::ChangeRows(const std::function<void()>& change) {
  const int rowsBefore = fData->RowCount();
  try {
    const TFlagScope suspended(fSuspended);
    change();
  } catch (const EKorvanError& error) {
    platform::ShowInformation(error.Message());
  }
  if (fData->RowCount() != rowsBefore) fData->SetChanged(true);
  RefreshGrid();
}

int TTableForm::CurrentRowInRange() const {
  const int row = fGrid->currentRow();
  if (row >= 0 && row < fData->RowCount()) return row;
  platform::ShowInformation(kRowNotInRange);
  return -1;
}

void TTableForm::BtnAddClick() {
  if (!fData || !StoreCurrentCell()) return;
  ChangeRows([this] {
    AddRowInView();
    // The new last row becomes the last row in view.
    fView.TopRow = std::max(0, fData->RowCount() - fRowsVisible);
  });
}

void TTableForm::BtnInsClick() {
  if (!fData || !StoreCurrentCell()) return;
  const int row = CurrentRowInRange();
  if (row < 0) return;
  ChangeRows([this, row] {
    if (fData->RowCount() == fRowsVisible) {
      fRowsVisible = std::min(fRowsVisible + fData->RowGroup(), MaxRowsInView());
    }
    fData->InsertRowGroup(row);
  });
}

void TTableForm::BtnDelClick() {
  if (!fData || !StoreCurrentCell()) return;
  const int row = CurrentRowInRange();
  if (row < 0) return;
  ChangeRows([this, row] { fData->DeleteRowGroup(row); });
}

// ---------------------------------------------------------------- layout

int TTableForm::PlaceAboveGrid(int gridWidth, int& right) {
  static_cast<void>(gridWidth);
  static_cast<void>(right);
  return Gap();
}

int TTableForm::PlaceBelowButtons(int rowButtonsTop, int top, int& right) {
  static_cast<void>(rowButtonsTop);
  static_cast<void>(right);
  return top;
}

void TTableForm::ArrangeLayout() {
  if (!fData || fArranging) return;
  const TFlagScope arranging(fArranging);
  const int g = Gap();
  const int visible = fGrid->columnCount();
  const int rows = fGrid->rowCount();

  TGridSizes sizes;
  for (int v = 0; v < visible; ++v) sizes.ColumnWidths.push_back(fGrid->columnWidth(v));
  sizes.FixedWidth = fGrid->verticalHeader()->width();
  sizes.HeadingHeight = fHeadingRows * fRowHeight;
  sizes.RowHeight = fRowHeight;
  sizes.RowCount = rows;
  sizes.GridFrame = 2 * fGrid->frameWidth();
  sizes.VBarWidth = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, fGrid);
  sizes.HBarHeight = sizes.VBarWidth;
  sizes.OtherWidth = 2 * g;

  TGridView view;
  view.ColumnsVisible = std::clamp(fColumnsVisible, std::min(1, visible), visible);
  view.RowsVisible = std::clamp(fRowsVisible, 0, rows);
  view.LeftCol = std::clamp(fView.LeftCol, 0, std::max(0, visible - view.ColumnsVisible));
  view.TopRow = std::clamp(fView.TopRow, 0, std::max(0, rows - view.RowsVisible));
  fColumnsVisible = view.ColumnsVisible;
  fRowsVisible = view.RowsVisible;
  const bool vBar = view.RowsVisible < rows;
  const bool hBar = view.ColumnsVisible < visible;
  int gridWidth = sizes.GridFrame + sizes.FixedWidth + (vBar ? sizes.VBarWidth : 0);
  for (int v = view.LeftCol; v < view.LeftCol + view.ColumnsVisible; ++v) {
    gridWidth += sizes.ColumnWidths[static_cast<size_t>(v)];
  }
  const int gridHeight = sizes.GridFrame + sizes.HeadingHeight + view.RowsVisible * fRowHeight +
                         (hBar ? sizes.HBarHeight : 0);

  int othersRight = 0;
  const int gridTop = PlaceAboveGrid(gridWidth, othersRight);
  fGrid->setVerticalScrollBarPolicy(vBar ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
  fGrid->setHorizontalScrollBarPolicy(hBar ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
  fGrid->setGeometry(g, gridTop, gridWidth, gridHeight);

  const int buttonsTop = gridTop + gridHeight + g;
  const int buttonWidth = std::max(
      {fBtnAdd->sizeHint().width(), fBtnIns->sizeHint().width(), fBtnDel->sizeHint().width()});
  const int buttonHeight = fBtnAdd->sizeHint().height();
  fBtnAdd->setGeometry(g, buttonsTop, buttonWidth, buttonHeight);
  fBtnIns->setGeometry(fBtnAdd->geometry().right() + 1 + g, buttonsTop, buttonWidth, buttonHeight);
  fBtnDel->setGeometry(fBtnIns->geometry().right() + 1 + g, buttonsTop, buttonWidth, buttonHeight);
  othersRight = std::max(othersRight, fBtnDel->geometry().right() + 1);
  int top = buttonsTop + (fBtnAdd->isVisibleTo(this) ? buttonHeight + g : 0);
  top = PlaceBelowButtons(buttonsTop, top, othersRight);

  int imageTop = top;
  const bool comments = !fComments->text().isEmpty();
  fComments->setVisible(comments);
  if (comments) {
    fComments->setGeometry(QRect(QPoint(g, top), fComments->sizeHint()));
    othersRight = std::max(othersRight, fComments->geometry().right() + 1);
    imageTop = top + g + fComments->height();
  }
  int height = imageTop;
  const QPixmap picture = fHelpImage->pixmap();
  fHelpImage->setVisible(!picture.isNull());
  if (!picture.isNull()) {
    fHelpImage->setGeometry(g, imageTop, picture.width(), picture.height());
    othersRight = std::max(othersRight, fHelpImage->geometry().right() + 1);
    height = imageTop + g + picture.height();
  }
  const int width = std::max(g + gridWidth, othersRight) + g;

  sizes.OtherHeight = height - gridHeight;
  sizes.MinimumWidth = othersRight + g;
  fGrid->horizontalScrollBar()->setValue(view.LeftCol);
  fGrid->verticalScrollBar()->setValue(view.TopRow);
  fView = view;
  fView.Width = width;
  fView.Height = height;
  fSizes = sizes;
  SetClientSize(width, height);
  PlaceControls();
}

void TTableForm::PlaceControls() {
  const int visible = std::min(fGrid->columnCount(), fData->VisibleColCount());
  for (int v = 0; v < visible; ++v) {
    TColumn& column = fData->VisibleColumn(v);
    if (!column.HasControl()) continue;
    if (fView.RowsVisible < 1 || fData->RowCount() < 1) {
      column.ReleaseControls();
      continue;
    }
    try {
      column.AllocateControls(this, fView.TopRow, fView.RowsVisible);
    } catch (const EKorvanError& error) {
      platform::ShowInformation(error.Message());
      continue;
    }
    const bool inView = v >= fView.LeftCol && v < fView.LeftCol + fView.ColumnsVisible;
    for (int i = 0; i < fView.RowsVisible; ++i) {
      const auto* control = dynamic_cast<TCellWidgetControl*>(column.GetControl(i));
      if (!control || !control->Widget()) continue;
      const QRect cell = fGrid->visualRect(fGrid->model()->index(control->Tag(), v));
      control->Widget()->setGeometry(cell.adjusted(1, 1, -1, -1));
      control->Widget()->setVisible(inView);
    }
  }
}

void TTableForm::SetClientSize(int width, int height) {
  fClientSize = QSize(width, height);
  updateGeometry();
  QWidget* frame = Frame();
  if (frame->windowState() & (Qt::WindowMaximized | Qt::WindowMinimized)) return;
  if (frame != this) {
    frame->adjustSize();
  } else {
    resize(fClientSize);
  }
}

// The user dragged a border: snap to whole rows and columns.
void TTableForm::resizeEvent(QResizeEvent* event) {
  TChildWindow::resizeEvent(event);
  if (!fShown || fArranging || !fData || size() == fClientSize || fSnapQueued) return;
  fSnapQueued = true;
  QTimer::singleShot(0, this, [this] {
    fSnapQueued = false;
    SnapToGrid();
  });
}

void TTableForm::SnapToGrid() {
  if (!fData || size() == fClientSize || size() == fDraggedFrom) return;
  if (Frame()->windowState() & (Qt::WindowMaximized | Qt::WindowMinimized)) return;
  fDraggedFrom = size();
  TGridView view;
  try {
    view = SnapSizing(fSizes, fView, width(), height());
  } catch (const EKorvanError&) {
    return;
  }
  fView.LeftCol = view.LeftCol;
  fView.TopRow = view.TopRow;
  fColumnsVisible = view.ColumnsVisible;
  fRowsVisible = view.RowsVisible;
  ArrangeLayout();
  if (size() == fClientSize) fDraggedFrom = QSize();
}

// ---------------------------------------------------------------- cell controls

std::unique_ptr<TCellControl> TTableForm::CreateComboBox(TEnumColumn& column) {
  TEnumColumn* target = &column;
  const QPointer<TTableForm> self(this);
  return std::make_unique<TCellComboBox>(
      fGrid->viewport(),
      [self, target](int row, int index) {
        // Run after the combo box's own signal: the choice may rebuild rows.
        QMetaObject::invokeMethod(
            self,
            [self, target, row, index] {
              if (!self || !self->fData || self->fData->IndexOf(target) < 0) return;
              try {
                const std::int32_t before = target->GetIntValue(row);
                target->ControlChoiceMade(row, index);
                if (target->GetIntValue(row) != before) self->fData->SetChanged(true);
              } catch (const EKorvanError& error) {
                platform::ShowInformation(error.Message());
              }
              self->ValuesChanged();
            },
            Qt::QueuedConnection);
      },
      [target](int row) { target->ControlEntered(row); });
}

std::unique_ptr<TCellControl> TTableForm::CreateButton(TTableColumn& column) {
  TTableColumn* target = &column;
  const QPointer<TTableForm> self(this);
  return std::make_unique<TCellButton>(fGrid->viewport(), [self, target](int row) {
    QMetaObject::invokeMethod(
        self,
        [self, target, row] {
          if (!self || !self->fData || self->fData->IndexOf(target) < 0) return;
          try {
            target->ButtonClick(row);
          } catch (const EKorvanError& error) {
            platform::ShowInformation(error.Message());
          }
        },
        Qt::QueuedConnection);
  });
}

}  // namespace korvan
