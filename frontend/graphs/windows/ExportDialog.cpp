#include "graphs/windows/ExportDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QShowEvent>
#include <QUrl>
#include <QVBoxLayout>

#include "graphs/ExportPlots.h"
#include "model/GraphPlot.h"
#include "platform/qt/message_box.h"

namespace korvan {

namespace {

const char* const kDesignCaptions[] = {"Load Distribution",
                                       "Displacement Distribution",
                                       "Displacement/Soil Settlement",
                                       "Axial Load vs Settlement",
                                       "t-z Curves",
                                       "Tip Resistance Curve"};

const QString kWorkbookExtension = QStringLiteral("xlsx");

}  // namespace

QString DefaultWorkbookName(const QString& projectFileName) {
  const QFileInfo project(projectFileName);
  const QString base = project.completeBaseName();
  if (base.isEmpty()) return QDir::current().filePath(QStringLiteral("Untitled.xlsx"));
  return project.dir().filePath(base + QStringLiteral(".") + kWorkbookExtension);
}

TExportDialog::TExportDialog(TEntrySource entries, TFileNameSource projectFileName, QWidget* parent)
    : QDialog(parent),
      CheckListBoxPlots(new QListWidget),
      SelectAllButton(new QPushButton(QStringLiteral("Select All"))),
      UnselectAllButton(new QPushButton(QStringLiteral("Unselect All"))),
      GenerateButton(new QPushButton(QStringLiteral("Generate Excel File"))),
      CloseButton(new QPushButton(QStringLiteral("Close Window"))),
      MarkersCheckBox(new QCheckBox(QStringLiteral("Add markers in plots"))),
      fEntries(std::move(entries)),
      fProjectFileName(std::move(projectFileName)) {
  setWindowTitle(QStringLiteral("Export to Excel"));
  AskFileName = [this](const QString& defaultName) { return AskFileNameInDialog(defaultName); };
  OpenWorkbook = [](const QString& fileName) {
    QDesktopServices::openUrl(QUrl::fromLocalFile(fileName));
  };

  auto* group = new QGroupBox(QStringLiteral("Available Plots"));
  auto* groupLayout = new QHBoxLayout(group);
  groupLayout->addWidget(CheckListBoxPlots);
  auto* selectButtons = new QVBoxLayout;
  selectButtons->addWidget(SelectAllButton);
  selectButtons->addWidget(UnselectAllButton);
  selectButtons->addStretch();
  groupLayout->addLayout(selectButtons);

  auto* notes = new QVBoxLayout;
  for (const QString& note :
       {QStringLiteral("You will be asked where to save the workbook (.xlsx). "),
        QStringLiteral("Please wait until all the data has been exported to the workbook."),
        QStringLiteral(
            "The saved workbook then opens in your spreadsheet program (if available).")})
    notes->addWidget(new QLabel(note));

  auto* commands = new QHBoxLayout;
  commands->addWidget(GenerateButton);
  commands->addStretch();
  commands->addWidget(CloseButton);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(group);
  layout->addWidget(MarkersCheckBox);
  layout->addLayout(notes);
  layout->addLayout(commands);

  MarkersCheckBox->setChecked(true);
  GenerateButton->setDefault(true);
  connect(SelectAllButton, &QPushButton::clicked, this, [this] { CheckAll(true); });
  connect(UnselectAllButton, &QPushButton::clicked, this, [this] { CheckAll(false); });
  connect(GenerateButton, &QPushButton::clicked, this, &TExportDialog::GenerateButtonClick);
  connect(CloseButton, &QPushButton::clicked, this, &QDialog::reject);
  connect(CheckListBoxPlots, &QListWidget::itemChanged, this, &TExportDialog::CheckGenerateBtn);
}

TExportDialog::~TExportDialog() = default;

TGraphPlot* TExportDialog::GetPlotPt(int i) const {
  return i >= 1 && i <= static_cast<int>(fListed.size()) ? fListed[static_cast<size_t>(i - 1)].Plot
                                                         : nullptr;
}

bool TExportDialog::GetMenuPt(int i) const {
  return i >= 1 && i <= static_cast<int>(fListed.size()) &&
         fListed[static_cast<size_t>(i - 1)].Enabled;
}

int TExportDialog::GetNPlots() const {
  int count = 0;
  for (int row = 0; row < CheckListBoxPlots->count(); ++row)
    if (CheckListBoxPlots->item(row)->checkState() == Qt::Checked) ++count;
  return count;
}

void TExportDialog::CheckGenerateBtn() {
  GenerateButton->setEnabled(GetNPlots() > 0);
}

void TExportDialog::showEvent(QShowEvent* event) {
  // Filled when the dialog comes up, not each time it gets the focus back
  // from its own file dialog or message.
  if (!event->spontaneous()) FormActivate();
  QDialog::showEvent(event);
}

void TExportDialog::FormActivate() {
  fListed = fEntries ? fEntries() : TExportEntries{};
  const QSignalBlocker quiet(CheckListBoxPlots);
  CheckListBoxPlots->clear();
  for (size_t i = 0; i < fListed.size(); ++i) {
    TGraphPlot* plot = fListed[i].Plot;
    // An entry without its graph cannot be exported, whatever its menu says.
    const bool enabled = fListed[i].Enabled && plot != nullptr;
    fListed[i].Enabled = enabled;
    const QString caption = plot != nullptr && !plot->Caption().isEmpty()
                                ? plot->Caption()
                                : QString::fromLatin1(kDesignCaptions[i]);
    auto* item = new QListWidgetItem(caption, CheckListBoxPlots);
    item->setFlags(enabled ? Qt::ItemIsUserCheckable | Qt::ItemIsEnabled | Qt::ItemIsSelectable
                           : Qt::ItemIsUserCheckable);
    item->setCheckState(enabled ? Qt::Checked : Qt::Unchecked);
  }
  CheckGenerateBtn();
}

void TExportDialog::CheckAll(bool checked) {
  const QSignalBlocker quiet(CheckListBoxPlots);
  for (int row = 0; row < CheckListBoxPlots->count(); ++row) {
    QListWidgetItem* item = CheckListBoxPlots->item(row);
    if (item->flags().testFlag(Qt::ItemIsEnabled))
      item->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
  }
  CheckGenerateBtn();
}

QString TExportDialog::AskFileNameInDialog(const QString& defaultName) {
  QFileDialog dialog(this, QStringLiteral("Export to Excel"), defaultName,
                     QStringLiteral("Excel Workbook (*.xlsx)"));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix(kWorkbookExtension);
  dialog.selectFile(defaultName);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().front();
}

void TExportDialog::GenerateButtonClick() {
  std::vector<const TGraphPlot*> graphs;
  for (int i = 1; i <= CheckListBoxPlots->count(); ++i)
    if (CheckListBoxPlots->item(i - 1)->checkState() == Qt::Checked && GetPlotPt(i) != nullptr)
      graphs.push_back(GetPlotPt(i));
  if (graphs.empty()) return;
  const QString fileName =
      AskFileName(DefaultWorkbookName(fProjectFileName ? fProjectFileName() : QString()));
  if (fileName.isEmpty()) return;

  ExportGraphsAndTell(graphs, MarkersCheckBox->isChecked(), fileName,
                      fProjectFileName ? fProjectFileName() : QString(), OpenWorkbook);
}

void ExportGraphsAndTell(const std::vector<const TGraphPlot*>& graphs, bool markers,
                         const QString& fileName, const QString& projectFileName,
                         const std::function<void(const QString& fileName)>& openWorkbook) {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  // The workbook may never replace one of the project's own files.
  const std::optional<QString> failure = ExportGraphsToWorkbook(
      graphs, markers, QFile::encodeName(fileName).toStdString(),
      projectFileName.isEmpty()
          ? std::vector<platform::TKeptFile>()
          : platform::ProjectFiles(QFile::encodeName(projectFileName).toStdString()));
  QApplication::restoreOverrideCursor();
  if (failure) {
    platform::ShowInformation(*failure);
    return;
  }
  if (openWorkbook) openWorkbook(fileName);
  platform::ShowInformation(
      QStringLiteral("Export to Excel Completed\nThe workbook was saved as\n") +
      QDir::toNativeSeparators(fileName) + QStringLiteral("\n"));
}

}  // namespace korvan
