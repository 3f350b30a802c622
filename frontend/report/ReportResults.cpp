// The results of the report, its graphs and its heading, and the report as
// a whole.
#include <QFileInfo>
#include <cmath>
#include <cstdio>

#include "korvan_version.h"
#include "model/ProgramData.h"
#include "model/ResultGraphs.h"
#include "model/Units.h"
#include "report/ReportBuilder.h"

namespace korvan {

namespace {

const QString kNotConverged = QStringLiteral("NOT ABLE TO GET CONVERGENCE");

// The summary's columns, as the engine's report heads them. The run's unit
// system decides the units: the project's may have been switched since.
QStringList SummaryColumns(int runUnits) {
  const int units = runUnits == 1 ? 1 : 2;
  const QString force = UnitsText(QStringLiteral("F"), units);
  const QString length = UnitsText(QStringLiteral("L"), units);
  return {QStringLiteral("Top Load\n(%1)").arg(force),
          QStringLiteral("Top Movement\n(%1)").arg(length),
          QStringLiteral("Tip Movement\n(%1)").arg(length),
          QStringLiteral("Tip Load\n(%1)").arg(force)};
}

QStringList Cells(const SummaryRow& row) {
  return {EngineNumber(row.headLoad), EngineNumber(row.headMovement), EngineNumber(row.tipMovement),
          EngineNumber(row.tipLoad)};
}

QString Organisation(const UserIdentification& user) {
  QStringList parts;
  for (const std::string& part : {user.organisation, user.city, user.region}) {
    const QString text = QString::fromStdString(part).simplified();
    if (!text.isEmpty()) parts << text;
  }
  return parts.join(QStringLiteral(", "));
}

bool HasResults(const TReportSources& sources) {
  return sources.Graphs != nullptr && sources.Run != nullptr && sources.Run->summary.has_value();
}

}  // namespace

QString EngineNumber(double value) {
  if (value == 0) return QStringLiteral("0.0000E+00");
  char text[32];
  std::snprintf(text, sizeof text, "%.4E", value);
  return QString::fromLatin1(text);
}

void AddResults(TReportDocument& document, const PlotSummary& summary, const RunRecord& run) {
  document.AddSection(QStringLiteral("3 Results"));
  TReportTable movements;
  movements.Title = QStringLiteral("Results due to tip movements");
  movements.Columns = SummaryColumns(summary.unitSystem);
  for (const SummaryRow& row : summary.tipMovementRows) movements.Rows.push_back(Cells(row));
  document.AddTable(std::move(movements));

  if (!summary.appliedLoadRows.empty()) {
    TReportTable loads;
    loads.Title = QStringLiteral("Results due to applied loads");
    loads.Columns = SummaryColumns(summary.unitSystem);
    for (const AppliedLoadRow& row : summary.appliedLoadRows) {
      if (row.converged)
        loads.Rows.push_back(Cells(row.values));
      else
        loads.Rows.push_back({EngineNumber(row.values.headLoad), kNotConverged});
    }
    document.AddTable(std::move(loads));
  }

  document.AddSubsection(QStringLiteral("Warnings of the run"));
  if (!run.reportRead) {
    document.AddText(
        QStringLiteral("The run's report file (.kv4o) cannot be read: its warnings are not "
                       "listed here."));
  } else if (run.warnings.empty()) {
    document.AddText(QStringLiteral("The run wrote no warnings."));
  } else {
    for (const std::string& warning : run.warnings)
      document.AddText(QString::fromStdString(warning));
  }
}

void AddGraphs(TReportDocument& document, const TResultGraphs& graphs,
               const TProgramData& project) {
  document.AddSection(QStringLiteral("4 Graphs"));
  for (TGraphPlot* plot : GraphsWithResults(graphs, project)) {
    TReportBlock block(TReportBlockKind::Graph, plot->Caption());
    block.Graph = plot;
    document.Blocks.push_back(std::move(block));
  }
}

QString StaleResultsNotice(const TReportSources& sources) {
  if (!HasResults(sources)) {
    return QStringLiteral(
        "The project has no complete results: it has not been analysed, or its last run "
        "stopped early. This report holds its inputs only.");
  }
  const QString date = QString::fromStdString(sources.Run->analysisDate);
  if (sources.UnsavedChanges) {
    return QStringLiteral(
               "The project was changed after its analysis of %1 and the changes are not saved: "
               "the results in this report are those of the project as it was analysed, not as "
               "its inputs read here. Run the analysis again before relying on them.")
        .arg(date);
  }
  if (sources.Run->dataNewerThanResults) {
    return QStringLiteral(
               "The project data file was changed after the analysis of %1: the results in this "
               "report may not belong to the inputs read here. Run the analysis again before "
               "relying on them.")
        .arg(date);
  }
  return {};
}

TReportDocument BuildReport(const TReportSources& sources) {
  const TProgramData& project = *sources.Project;
  TReportDocument document;
  TReportHeading& heading = document.Heading;
  heading.Program = QStringLiteral("KORVAN %1").arg(QLatin1String(kVersionText));
  heading.Title = project.Title;
  heading.FileName = QFileInfo(project.FileName).fileName();
  heading.Organisation = Organisation(sources.User);
  heading.AnalysisDate = HasResults(sources) ? QString::fromStdString(sources.Run->analysisDate)
                                             : QStringLiteral("not analysed");

  const QString notice = StaleResultsNotice(sources);
  if (!notice.isEmpty()) document.AddNotice(notice);
  AddInputs(document, project);
  AddSideView(document, project);
  if (!HasResults(sources)) return document;
  AddResults(document, *sources.Run->summary, *sources.Run);
  AddGraphs(document, *sources.Graphs, project);
  return document;
}

}  // namespace korvan
