#include "graphs/windows/GraphCaptionDialog.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace korvan {

TGraphCaptionDialog::TGraphCaptionDialog(QWidget* parent)
    : QDialog(parent),
      fEdit(new QLineEdit(this)),
      fTop(new QRadioButton(QStringLiteral("Top"))),
      fBottom(new QRadioButton(QStringLiteral("Bottom"))) {
  setWindowTitle(QStringLiteral("Graph Caption"));
  auto* layout = new QVBoxLayout(this);
  auto* label = new QLabel(QStringLiteral("Enter Graph Caption"), this);
  label->setBuddy(fEdit);
  layout->addWidget(label);
  layout->addWidget(fEdit);
  auto* location = new QGroupBox(QStringLiteral("Caption Location"), this);
  auto* choices = new QHBoxLayout(location);
  choices->addWidget(fTop);
  choices->addWidget(fBottom);
  layout->addWidget(location);
  auto* ok = new QPushButton(QStringLiteral("&OK"), this);
  ok->setDefault(true);
  layout->addWidget(ok, 0, Qt::AlignRight);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  fEdit->setObjectName(QStringLiteral("CaptionEdit"));
  fTop->setChecked(true);
}

QString TGraphCaptionDialog::Caption() const {
  return fEdit->text();
}

void TGraphCaptionDialog::SetCaption(const QString& caption) {
  fEdit->setText(caption);
}

bool TGraphCaptionDialog::OnTop() const {
  return fTop->isChecked();
}

void TGraphCaptionDialog::SetOnTop(bool onTop) {
  (onTop ? fTop : fBottom)->setChecked(true);
}

}  // namespace korvan
