#include "app/TitleForm.h"

#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>
#include <algorithm>

#include "model/ProgramData.h"

namespace korvan {

namespace {

constexpr int kTitleLength = 80;
QPointer<TTitleForm> gInstance;

}  // namespace

TTitleForm::TTitleForm(QWidget* parent)
    : TPropertyForm(parent), fTitle(new QLineEdit), fName(new QLineEdit), fDate(new QLineEdit) {
  setWindowTitle(QStringLiteral("Project Title"));
  fTitle->setMaxLength(kTitleLength);
  fTitle->setMinimumWidth(fTitle->fontMetrics().averageCharWidth() * kTitleLength);
  auto* layout = new QVBoxLayout(this);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  layout->addWidget(new QLabel(QStringLiteral("Enter line of text for project description:")));
  layout->addWidget(fTitle);
  layout->addWidget(new QLabel(QStringLiteral("Name of the Designer : ")));
  layout->addWidget(fName);
  layout->addWidget(new QLabel(QStringLiteral("Date : ")));
  layout->addWidget(fDate);
}

TTitleForm* TTitleForm::Open() {
  return OpenSingleWindow(gInstance);
}

TTitleForm* TTitleForm::Instance() {
  return gInstance;
}

void TTitleForm::RefreshFields() {
  if (!ProgramData) return;
  // A longer title read from a file is shown whole; typing stays within 80.
  fTitle->setMaxLength(std::max(kTitleLength, static_cast<int>(ProgramData->Title.size())));
  fTitle->setText(ProgramData->Title);
  fName->setText(ProgramData->Name1);
  if (!ProgramData->Date1.isEmpty()) fDate->setText(ProgramData->Date1);
}

// Only the title is part of the saved project.
void TTitleForm::StoreFields() {
  if (!ProgramData) return;
  if (fTitle->text() != ProgramData->Title) {
    ProgramData->Title = fTitle->text();
    MarkProjectChanged();
  }
  ProgramData->Name1 = fName->text();
  ProgramData->Date1 = fDate->text();
}

}  // namespace korvan
