// File "Export Report (PDF)...": the calculation report of the project on
// screen, with the results its last run left. Results that may not belong
// to the project (changed since, or never analysed) are offered a run
// first; a report made without it says so on its first page.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPrinter>

#include "app/MainForm.h"
#include "app/ReportDialogs.h"
#include "model/Exceptions.h"
#include "model/ProgramData.h"
#include "platform/qt/message_box.h"
#include "report/ReportBuilder.h"
#include "report/ReportPdf.h"
#include "runner/run_record.h"

namespace korvan {

namespace {

std::filesystem::path NativePath(const QString& name) {
  return QFile::encodeName(name).toStdString();
}

bool ResultsBelongToProject(const RunRecord& run, bool unsaved) {
  return run.summary && !unsaved && !run.dataNewerThanResults;
}

}  // namespace

void TMainForm::ExportReportClick() {
  if (!CommitActiveChild()) return;
  const bool named = ProgramData->FileName != kNewFileName;
  auto record = [&] {
    return named && fShowOutput
               ? ReadRunRecord(NativePath(QFileInfo(ProgramData->FileName).absoluteFilePath()))
               : RunRecord{};
  };
  RunRecord run = record();
  if (!ResultsBelongToProject(run, GetDataChanged())) {
    const QString question = run.summary
                                 ? QStringLiteral(
                                       "The project was changed after its analysis, so its results "
                                       "may not belong to it.\nRun the analysis before the report "
                                       "is written?")
                                 : QStringLiteral(
                                       "The project has no results yet.\nRun the analysis before "
                                       "the report is written?");
    switch (platform::AskYesNoCancel(
        question, {QStringLiteral("Run First"), QStringLiteral("Report As It Is")})) {
      case platform::TAnswer::Cancel:
        return;
      case platform::TAnswer::Yes:
        // A run that did not end in results has said why.
        CompRunClick();
        run = record();
        if (!ResultsBelongToProject(run, GetDataChanged())) return;
        break;
      case platform::TAnswer::No:
        break;
    }
  }

  const QFileInfo data(ProgramData->FileName);
  const QString preset = named ? data.absolutePath() + QLatin1Char('/') + data.completeBaseName() +
                                     QStringLiteral(".pdf")
                               : QDir::current().filePath(QStringLiteral("NewKORVAN.pdf"));
  const QString target = ChooseReportFile(preset);
  if (target.isEmpty()) return;

  TReportSources sources;
  sources.Project = ProgramData.get();
  sources.Graphs = run.summary ? &fGraphs : nullptr;
  sources.Run = &run;
  sources.User = RunUser();
  sources.UnsavedChanges = GetDataChanged();
  const TReportDocument document = BuildReport(sources);

  // The paper of the printer's settings, A4 unless they say Letter.
  QPrinter printer(QPrinter::HighResolution);
  const TReportPaper paper = PaperOf(printer.pageLayout().pageSize());
  printer.setPageLayout(ReportPageLayout(paper));
  printer.setDocName(document.Heading.Title);
  try {
    WriteReportPdf(document, NativePath(target), paper,
                   named ? platform::ProjectFiles(NativePath(data.absoluteFilePath()))
                         : std::vector<platform::TKeptFile>{});
  } catch (const EKorvanError& error) {
    platform::ShowInformation(error.Message());
    return;
  }
  ShowReportPreview(document, printer, this,
                    QStringLiteral("Calculation Report - %1").arg(QFileInfo(target).fileName()));
}

}  // namespace korvan
