#include "graphs/windows/LineNamesDialog.h"

#include <QApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPalette>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "model/GraphPlot.h"
#include "platform/qt/message_box.h"

namespace korvan {

namespace {

constexpr int kMinClientWidth = 195;
constexpr int kMinClientHeight = 167;

}  // namespace

TLineNamesDialog::TLineNamesDialog(const TGraphPlot& graph, QWidget* parent)
    : QDialog(parent), fList(new QListWidget(this)), fEdit(new QLineEdit(this)) {
  setWindowTitle(QStringLiteral("Legend"));
  setMinimumSize(kMinClientWidth, kMinClientHeight);
  setSizeGripEnabled(true);
  auto* layout = new QVBoxLayout(this);
  auto* listLabel = new QLabel(QStringLiteral("Select line to modify:"), this);
  listLabel->setBuddy(fList);
  layout->addWidget(listLabel);
  layout->addWidget(fList, 1);
  auto* editLabel = new QLabel(QStringLiteral("Type new legend below:"), this);
  editLabel->setBuddy(fEdit);
  layout->addWidget(editLabel);
  layout->addWidget(fEdit);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  auto* ok = new QPushButton(QStringLiteral("&OK"), this);
  auto* cancel = new QPushButton(QStringLiteral("&Cancel"), this);
  // Enter belongs to the name box: it stores the name, it does not close.
  for (QPushButton* button : {ok, cancel}) {
    button->setAutoDefault(false);
    buttons->addWidget(button);
  }
  layout->addLayout(buttons);

  for (int i = 0; i < graph.LineCount(); ++i) fList->addItem(graph.GetLines(i).LineName());
  connect(fList, &QListWidget::currentRowChanged, this, &TLineNamesDialog::SelectName);
  connect(fList, &QListWidget::itemClicked, this,
          [this](QListWidgetItem* item) { SelectName(fList->row(item)); });
  connect(fEdit, &QLineEdit::returnPressed, this, &TLineNamesDialog::StoreName);
  fEdit->installEventFilter(this);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  if (fList->count() > 0) fList->setCurrentRow(0);
}

QStringList TLineNamesDialog::Names() const {
  QStringList names;
  for (int i = 0; i < fList->count(); ++i) names << fList->item(i)->text();
  return names;
}

bool TLineNamesDialog::eventFilter(QObject* watched, QEvent* event) {
  if (watched == fEdit && event->type() == QEvent::FocusOut) StoreName();
  return QDialog::eventFilter(watched, event);
}

void TLineNamesDialog::SelectName(int row) {
  if (row < 0) return;
  fEdit->setText(fList->item(row)->text());
  QPalette palette = fEdit->palette();
  palette.setColor(QPalette::Text, LineColor(row));
  fEdit->setPalette(palette);
}

void TLineNamesDialog::StoreName() {
  QListWidgetItem* item = fList->currentItem();
  if (item == nullptr) return;
  if (fEdit->text().isEmpty()) {
    fEdit->setText(item->text());
    // The message waits until the focus change that brought it is over; it
    // is shown even when that change closed the dialog.
    QTimer::singleShot(
        0, qApp, [] { platform::ShowInformation(QStringLiteral("The line must have a name!")); });
    return;
  }
  item->setText(fEdit->text());
}

}  // namespace korvan
