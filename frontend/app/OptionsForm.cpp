#include "app/OptionsForm.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/ProgramSettings.h"

namespace korvan {

namespace {

QPointer<TOptionsForm> gInstance;

// Programs here carry no extension: the first filter lists the files the
// user may run.
const QString kProgramsFilter = QStringLiteral("Programs (*)");
const QString kAllFilesFilter = QStringLiteral("All Files (*)");

}  // namespace

TOptionsForm::TOptionsForm(QWidget* parent)
    : TPropertyForm(parent),
      fTextEditor(new QLineEdit),
      fBrowse(new QPushButton(QStringLiteral("&Browse..."))) {
  setWindowTitle(QStringLiteral("Control Options"));
  auto* layout = new QHBoxLayout(this);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  auto* label = new QLabel(QStringLiteral("&Text Editor:"));
  label->setBuddy(fTextEditor);
  fTextEditor->setMinimumWidth(fTextEditor->fontMetrics().averageCharWidth() * 40);
  layout->addWidget(label);
  layout->addWidget(fTextEditor);
  layout->addWidget(fBrowse);
  connect(fBrowse, &QPushButton::clicked, this, &TOptionsForm::BrowseClick);
}

TOptionsForm* TOptionsForm::Open() {
  return OpenSingleWindow(gInstance);
}

TOptionsForm* TOptionsForm::Instance() {
  return gInstance;
}

void TOptionsForm::RefreshFields() {
  fTextEditor->setText(ProgramSettings.WordProcessor);
}

void TOptionsForm::StoreFields() {
  ProgramSettings.WordProcessor = fTextEditor->text();
}

// The dialog starts at the program named in the edit; the chosen file's
// full path replaces the edit's text.
void TOptionsForm::BrowseClick() {
  if (fDialog) return;
  fDialog = new QFileDialog(this);
  fDialog->setAttribute(Qt::WA_DeleteOnClose);
  fDialog->setOption(QFileDialog::DontUseNativeDialog);
  fDialog->setFileMode(QFileDialog::ExistingFile);
  fDialog->setNameFilters({kProgramsFilter, kAllFilesFilter});
  const QFileInfo current(fTextEditor->text());
  if (!fTextEditor->text().isEmpty()) {
    fDialog->setDirectory(current.absolutePath());
    fDialog->selectFile(current.fileName());
  }
  connect(fDialog, &QFileDialog::filterSelected, this, &TOptionsForm::ProgramFilterSelected);
  connect(fDialog, &QFileDialog::fileSelected, fTextEditor, [this](const QString& file) {
    fTextEditor->setText(QFileInfo(file).absoluteFilePath());
  });
  ProgramFilterSelected(kProgramsFilter);
  fDialog->open();
}

void TOptionsForm::ProgramFilterSelected(const QString& filter) {
  QDir::Filters shown = QDir::AllDirs | QDir::Files | QDir::NoDot;
  if (filter == kProgramsFilter) shown |= QDir::Executable;
  fDialog->setFilter(shown);
}

}  // namespace korvan
