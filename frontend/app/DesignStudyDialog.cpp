#include "app/DesignStudyDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>
#include <tuple>

#include "components/DataEdit.h"
#include "graphs/StudyGraphs.h"
#include "graphs/windows/ExportDialog.h"
#include "graphs/windows/PlotForm.h"
#include "model/Exceptions.h"
#include "model/StudyRunner.h"
#include "platform/qt/message_box.h"
#include "runner/study_table.h"

namespace korvan {

namespace {

// The first study: the project's own value and 20 % either side of it.
constexpr double kDefaultSpan = 0.2;
constexpr double kDefaultStep = 0.1;

bool HasLines(const TGraphPlot* graph) {
  return graph != nullptr && graph->LineCount() > 0 && graph->GetLines(0).Count() > 1;
}

QString TableText(const std::string& text) {
  return QString::fromStdString(text);
}

}  // namespace

TDesignStudyDialog::TDesignStudyDialog(TProjectSource project, QWidget* parent)
    : QDialog(parent),
      Parameter(new QComboBox),
      From(new TDataEdit),
      To(new TDataEdit),
      Step(new TDataEdit),
      UseDesignLoad(new QCheckBox),
      DesignLoad(new TDataEdit),
      UseSettlementLimit(new QCheckBox),
      SettlementLimit(new TDataEdit),
      ScaleAE(new QCheckBox(QStringLiteral("&Scale AE with the square of the diameter"))),
      RunButton(new QPushButton(QStringLiteral("&Run"))),
      CancelButton(new QPushButton(QStringLiteral("&Cancel"))),
      Progress(new QProgressBar),
      Status(new QLabel),
      Table(new QTableWidget),
      CurvesButton(new QPushButton(QStringLiteral("Load-Settlement &Curves"))),
      SettlementChartButton(new QPushButton(QStringLiteral("Design Chart: &Settlement"))),
      LoadChartButton(new QPushButton(QStringLiteral("Design Chart: &Load"))),
      ExportButton(new QPushButton(QStringLiteral("&Export to Excel..."))),
      CloseButton(new QPushButton(QStringLiteral("Cl&ose"))),
      fProject(std::move(project)),
      fRunner(std::make_unique<TStudyRunner>()) {
  setWindowTitle(QStringLiteral("Design Study"));
  AskFileName = [this](const QString& defaultName) {
    QFileDialog dialog(this, QStringLiteral("Export to Excel"), defaultName,
                       QStringLiteral("Excel Workbook (*.xlsx)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("xlsx"));
    dialog.selectFile(defaultName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
    return dialog.selectedFiles().front();
  };
  OpenWorkbook = [](const QString& fileName) {
    QDesktopServices::openUrl(QUrl::fromLocalFile(fileName));
  };

  auto* layout = new QVBoxLayout(this);
  auto* fields = new QGridLayout;
  layout->addLayout(fields);
  auto* parameterLabel = new QLabel(QStringLiteral("&Parameter:"));
  parameterLabel->setBuddy(Parameter);
  Parameter->addItems({QStringLiteral("Total Pile Length"), QStringLiteral("Outer Diameter")});
  fields->addWidget(parameterLabel, 0, 0);
  fields->addWidget(Parameter, 0, 1, 1, 3);
  const struct {
    TDataEdit* field;
    const char* caption;
    const char* unitsCode;
    int row;
    int column;
  } definitions[] = {
      {From, "From", "L", 1, 0},
      {To, "To", "L", 1, 2},
      {Step, "Step", "L", 2, 0},
      {DesignLoad, "Design Load", "F", 3, 0},
      {SettlementLimit, "Settlement Limit", "L", 4, 0},
  };
  for (const auto& definition : definitions) {
    auto* label = new QLabel;
    definition.field->SetEditLabel(label);
    definition.field->SetCaption(QString::fromUtf8(definition.caption));
    definition.field->SetUnitsString(QString::fromUtf8(definition.unitsCode));
    definition.field->SetMinVal(0);
    definition.field->SetMaxVal(kMaxPileDimension);
    QWidget* leading = label;
    if (definition.field == DesignLoad || definition.field == SettlementLimit) {
      QCheckBox* use = definition.field == DesignLoad ? UseDesignLoad : UseSettlementLimit;
      auto* box = new QHBoxLayout;
      box->setContentsMargins(0, 0, 0, 0);
      box->addWidget(use);
      box->addWidget(label, 1);
      leading = new QWidget;
      leading->setLayout(box);
      connect(use, &QCheckBox::toggled, definition.field, &QWidget::setEnabled);
      definition.field->setEnabled(false);
    }
    fields->addWidget(leading, definition.row, definition.column);
    fields->addWidget(definition.field, definition.row, definition.column + 1);
  }
  DesignLoad->SetMaxVal(TDataEdit::kDefaultMaxVal);
  fields->addWidget(ScaleAE, 5, 0, 1, 4);

  auto* running = new QHBoxLayout;
  running->addWidget(RunButton);
  running->addWidget(CancelButton);
  running->addWidget(Progress, 1);
  layout->addLayout(running);
  layout->addWidget(Status);
  Table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  Table->verticalHeader()->setVisible(false);
  Table->horizontalHeader()->setStretchLastSection(true);
  layout->addWidget(Table, 1);
  auto* results = new QHBoxLayout;
  for (QPushButton* button :
       {CurvesButton, SettlementChartButton, LoadChartButton, ExportButton, CloseButton}) {
    results->addWidget(button);
  }
  layout->addLayout(results);
  resize(760, 480);

  connect(Parameter, &QComboBox::currentIndexChanged, this, &TDesignStudyDialog::ParameterChanged);
  connect(RunButton, &QPushButton::clicked, this, &TDesignStudyDialog::RunClick);
  connect(CancelButton, &QPushButton::clicked, this, &TDesignStudyDialog::CancelClick);
  connect(ExportButton, &QPushButton::clicked, this, &TDesignStudyDialog::ExportClick);
  connect(CloseButton, &QPushButton::clicked, this, &QDialog::close);
  connect(CurvesButton, &QPushButton::clicked, this, [this] {
    if (fGraphs) TPlotForm::ShowGraph(fGraphs->Curves());
  });
  connect(SettlementChartButton, &QPushButton::clicked, this, [this] {
    if (fGraphs && fGraphs->SettlementChart()) TPlotForm::ShowGraph(*fGraphs->SettlementChart());
  });
  connect(LoadChartButton, &QPushButton::clicked, this, [this] {
    if (fGraphs && fGraphs->LoadChart()) TPlotForm::ShowGraph(*fGraphs->LoadChart());
  });
  connect(fRunner.get(), &TStudyRunner::progress, this, &TDesignStudyDialog::ShowProgress);
  connect(fRunner.get(), &TStudyRunner::finished, this, &TDesignStudyDialog::StudyFinished);

  ParameterChanged();
  UpdateButtons();
  Status->setText(QStringLiteral("Choose the values and Run."));
}

TDesignStudyDialog::~TDesignStudyDialog() = default;

void TDesignStudyDialog::TakeUnits(int units) {
  fUnits = units;
  for (TDataEdit* field : {From, To, Step, DesignLoad, SettlementLimit}) field->SetUnits(units);
}

void TDesignStudyDialog::SetDefaults() {
  const std::optional<TStudyProject> project = fProject ? fProject(false) : std::nullopt;
  if (!project) return;
  TakeUnits(project->units);
  fProjectFile = project->fileName;
  const bool length = Parameter->currentIndex() == 0;
  const double value = length ? project->length : project->diameter;
  if (!(value > 0)) return;
  From->SetNumber(DataFileValue(value * (1 - kDefaultSpan)));
  To->SetNumber(DataFileValue(value * (1 + kDefaultSpan)));
  Step->SetNumber(DataFileValue(value * kDefaultStep));
}

void TDesignStudyDialog::ParameterChanged() {
  const bool diameter = Parameter->currentIndex() == 1;
  ScaleAE->setEnabled(diameter && !fRunner->Running());
  if (!diameter) ScaleAE->setChecked(false);
  SetDefaults();
}

void TDesignStudyDialog::Refresh() {
  if (fRunner->Running()) return;
  const std::optional<TStudyProject> project = fProject ? fProject(false) : std::nullopt;
  if (project && (project->units != fUnits || project->fileName != fProjectFile)) SetDefaults();
}

void TDesignStudyDialog::changeEvent(QEvent* event) {
  QDialog::changeEvent(event);
  // Another project may be open, or its units changed, while the window was
  // in the back.
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) Refresh();
}

void TDesignStudyDialog::closeEvent(QCloseEvent* event) {
  fRunner->Cancel();
  QDialog::closeEvent(event);
}

std::optional<long double> TDesignStudyDialog::FieldNumber(TDataEdit& field) {
  if (!field.CloseQuery()) {
    field.setFocus();
    return std::nullopt;
  }
  try {
    return field.Number();
  } catch (const EAssignError&) {
    return std::nullopt;
  }
}

void TDesignStudyDialog::RunClick() {
  if (fRunner->Running()) return;
  TStudyRequest request;
  request.range.parameter =
      Parameter->currentIndex() == 0 ? TStudyParameter::kLength : TStudyParameter::kDiameter;
  const auto from = FieldNumber(*From);
  const auto to = from ? FieldNumber(*To) : std::nullopt;
  const auto step = to ? FieldNumber(*Step) : std::nullopt;
  if (!step) return;
  request.range.from = static_cast<double>(*from);
  request.range.to = static_cast<double>(*to);
  request.range.step = static_cast<double>(*step);
  for (const auto& [use, field, value] :
       {std::tuple(UseDesignLoad, DesignLoad, &request.designLoad),
        std::tuple(UseSettlementLimit, SettlementLimit, &request.settlementLimit)}) {
    if (!use->isChecked()) continue;
    const auto number = FieldNumber(*field);
    if (!number) return;
    if (!(*number > 0)) {
      platform::ShowInformation(
          QStringLiteral("The %1 must be above 0.").arg(field->Caption().toLower()));
      field->setFocus();
      return;
    }
    *value = static_cast<double>(*number);
  }
  request.scaleAE = ScaleAE->isEnabled() && ScaleAE->isChecked();

  const std::optional<TStudyProject> project = fProject ? fProject(true) : std::nullopt;
  if (!project) return;
  if (project->units != fUnits) {
    SetDefaults();
    platform::ShowInformation(
        QStringLiteral("The project's units have changed: check the values of the study."));
    return;
  }
  fProjectFile = project->fileName;
  request.project = project->bytes;
  request.runner = project->runner;
  request.environment = project->environment;

  QString message;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const bool started = fRunner->Start(request, message);
  QApplication::restoreOverrideCursor();
  if (!started) {
    platform::ShowInformation(message);
    return;
  }
  // The graphs of the last study close with it.
  fGraphs.reset();
  Table->clear();
  Table->setRowCount(0);
  Table->setColumnCount(0);
  ShowProgress(0, 0);
  UpdateButtons();
}

void TDesignStudyDialog::CancelClick() {
  fRunner->Cancel();
}

void TDesignStudyDialog::ShowProgress(int finished, int total) {
  if (total > 0) Progress->setRange(0, total);
  Progress->setValue(finished);
  Status->setText(QStringLiteral("Running: %1 of %2 variants analysed.")
                      .arg(finished)
                      .arg(total > 0 ? total : Progress->maximum()));
}

void TDesignStudyDialog::StudyFinished(bool completed, const QString& failure) {
  const std::vector<TVariantOutcome>& outcomes = fRunner->Outcomes();
  const auto done = std::count_if(outcomes.begin(), outcomes.end(), [](const auto& outcome) {
    return outcome.code != kVariantNotRun;
  });
  const auto stopped = std::count_if(outcomes.begin(), outcomes.end(), [](const auto& outcome) {
    return !outcome.Completed() && outcome.code != kVariantNotRun;
  });
  Progress->setValue(static_cast<int>(done));
  FillTable();
  fGraphs = std::make_unique<TStudyGraphs>(outcomes, fRunner->Settings());
  const QString folder = QFileInfo(fProjectFile).absolutePath();
  for (const TStudyGraph& graph : fGraphs->All()) graph.graph->ResultFolder = folder;
  if (completed) {
    Status->setText(
        stopped == 0
            ? QStringLiteral("%1 variants analysed: every run completed.").arg(outcomes.size())
            : QStringLiteral("%1 variants analysed: %2 runs stopped (see "
                             "the table).")
                  .arg(outcomes.size())
                  .arg(stopped));
    for (const TStudyGraph& graph : fGraphs->All()) {
      if (HasLines(graph.graph)) TPlotForm::ShowGraph(*graph.graph);
    }
  } else {
    Status->setText(
        QStringLiteral("Stopped: %1 of %2 variants were analysed.").arg(done).arg(outcomes.size()));
  }
  UpdateButtons();
  raise();
  if (!failure.isEmpty())
    platform::ShowInformation(QStringLiteral("The design study stopped: %1").arg(failure));
}

void TDesignStudyDialog::FillTable() {
  const std::vector<std::string> headings = StudyTableHeadings(fRunner->Settings());
  const std::vector<TVariantOutcome>& outcomes = fRunner->Outcomes();
  Table->setColumnCount(static_cast<int>(headings.size()));
  Table->setRowCount(static_cast<int>(outcomes.size()));
  for (int column = 0; column < Table->columnCount(); ++column) {
    Table->setHorizontalHeaderItem(
        column, new QTableWidgetItem(TableText(headings[static_cast<size_t>(column)])));
  }
  for (int row = 0; row < Table->rowCount(); ++row) {
    const std::vector<std::string> cells = StudyTableRow(outcomes[static_cast<size_t>(row)]);
    for (int column = 0; column < Table->columnCount(); ++column) {
      Table->setItem(row, column,
                     new QTableWidgetItem(TableText(cells[static_cast<size_t>(column)])));
    }
  }
  Table->resizeColumnsToContents();
}

void TDesignStudyDialog::UpdateButtons() {
  const bool running = fRunner->Running();
  for (QWidget* input :
       {static_cast<QWidget*>(Parameter), static_cast<QWidget*>(From), static_cast<QWidget*>(To),
        static_cast<QWidget*>(Step), static_cast<QWidget*>(UseDesignLoad),
        static_cast<QWidget*>(UseSettlementLimit)}) {
    input->setEnabled(!running);
  }
  DesignLoad->setEnabled(!running && UseDesignLoad->isChecked());
  SettlementLimit->setEnabled(!running && UseSettlementLimit->isChecked());
  ScaleAE->setEnabled(!running && Parameter->currentIndex() == 1);
  RunButton->setEnabled(!running);
  CancelButton->setEnabled(running);
  CurvesButton->setEnabled(!running && fGraphs && HasLines(&fGraphs->Curves()));
  SettlementChartButton->setEnabled(!running && fGraphs && HasLines(fGraphs->SettlementChart()));
  LoadChartButton->setEnabled(!running && fGraphs && HasLines(fGraphs->LoadChart()));
  ExportButton->setEnabled(!running && fGraphs && HasLines(&fGraphs->Curves()));
}

void TDesignStudyDialog::ExportClick() {
  if (!fGraphs) return;
  std::vector<const TGraphPlot*> graphs;
  for (const TStudyGraph& graph : fGraphs->All()) {
    if (HasLines(graph.graph)) graphs.push_back(graph.graph);
  }
  if (graphs.empty()) return;
  const QFileInfo project(fProjectFile);
  const QString defaultName =
      project.path() + QLatin1Char('/') + project.completeBaseName() + QLatin1Char('-') +
      QLatin1String(ParameterWord(fRunner->Settings().parameter)) + QStringLiteral("-study.xlsx");
  const QString fileName = AskFileName ? AskFileName(defaultName) : QString();
  if (fileName.isEmpty()) return;
  ExportGraphsAndTell(graphs, true, fileName, fProjectFile, OpenWorkbook);
}

}  // namespace korvan
