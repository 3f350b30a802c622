#include "graphs/windows/ActiveLinesDialog.h"

#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "model/GraphPlot.h"

namespace korvan {

namespace {

constexpr int kMinClientWidth = 190;
constexpr int kMinClientHeight = 234;

const QString kYes = QStringLiteral(" yes : ");
const QString kNo = QStringLiteral(" no  : ");
const QString kGap = QStringLiteral("   ");

}  // namespace

TActiveLinesDialog::TActiveLinesDialog(const TGraphPlot& graph, QWidget* parent)
    : QDialog(parent), fList(new QListWidget(this)) {
  setWindowTitle(QStringLiteral("Active Curves"));
  setMinimumSize(kMinClientWidth, kMinClientHeight);
  setSizeGripEnabled(true);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(QStringLiteral("Select Curve to Active/Desactive"), this));
  auto* headings = new QHBoxLayout;
  headings->addWidget(new QLabel(QStringLiteral("Active :"), this));
  headings->addWidget(new QLabel(QStringLiteral("Curve"), this), 1);
  layout->addLayout(headings);
  fList->setSelectionMode(QAbstractItemView::ExtendedSelection);
  // The state column lines up in a fixed-width face.
  fList->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  layout->addWidget(fList, 1);

  auto* flip = new QPushButton(QStringLiteral("Activate/Deactivate Selected"), this);
  auto* all = new QPushButton(QStringLiteral("Activate All"), this);
  auto* none = new QPushButton(QStringLiteral("Deactivate All"), this);
  auto* ok = new QPushButton(QStringLiteral("&OK"), this);
  auto* cancel = new QPushButton(QStringLiteral("&Cancel"), this);
  auto* buttons = new QGridLayout;
  buttons->addWidget(flip, 0, 0, 1, 2);
  buttons->addWidget(all, 1, 0);
  buttons->addWidget(none, 1, 1);
  buttons->addWidget(ok, 2, 0);
  buttons->addWidget(cancel, 2, 1);
  layout->addLayout(buttons);
  ok->setDefault(true);

  for (int i = 0; i < graph.LineCount(); ++i) {
    fNames << graph.GetLines(i).LineName();
    fList->addItem(QString());
    SetRow(i, graph.GetLines(i).Active());
  }
  connect(fList, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
    const int row = fList->row(item);
    SetRow(row, !RowActive(row));
  });
  connect(flip, &QPushButton::clicked, this, &TActiveLinesDialog::FlipSelected);
  connect(all, &QPushButton::clicked, this, [this] { SetAll(true); });
  connect(none, &QPushButton::clicked, this, [this] { SetAll(false); });
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

std::vector<bool> TActiveLinesDialog::ActiveFlags() const {
  std::vector<bool> flags;
  for (int row = 0; row < fList->count(); ++row) flags.push_back(RowActive(row));
  return flags;
}

void TActiveLinesDialog::FlipSelected() {
  for (int row = 0; row < fList->count(); ++row)
    if (fList->item(row)->isSelected()) SetRow(row, !RowActive(row));
}

void TActiveLinesDialog::SetAll(bool active) {
  for (int row = 0; row < fList->count(); ++row) SetRow(row, active);
}

void TActiveLinesDialog::SetRow(int row, bool active) {
  fList->item(row)->setText((active ? kYes : kNo) + kGap + fNames.at(row));
}

bool TActiveLinesDialog::RowActive(int row) const {
  return fList->item(row)->text().startsWith(kYes);
}

}  // namespace korvan
