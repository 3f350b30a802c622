// The calculation report of a project, in the order an engineer files it:
// the inputs as the program holds them, the pile and soil side view, the
// results the last run left with every warning it wrote, and every graph
// that has results, with its saved display settings. Results that may not
// belong to the project as it is are marked so on the first page.
#pragma once

#include <QString>
#include <vector>

#include "report/ReportDocument.h"
#include "runner/engine_runner.h"
#include "runner/run_record.h"

namespace korvan {

class TGraphPlot;
class TProgramData;
class TResultGraphs;

struct TReportSources {
  const TProgramData* Project = nullptr;
  // The results: the graphs read from the run's plot data file and the
  // record of the run. A report without them (either null, or a record
  // without a summary) holds the inputs alone.
  TResultGraphs* Graphs = nullptr;
  const RunRecord* Run = nullptr;
  UserIdentification User;
  // The project on screen has changes that were neither saved nor analysed.
  bool UnsavedChanges = false;
};

TReportDocument BuildReport(const TReportSources& sources);

// The parts of the report, in their order.
void AddInputs(TReportDocument& document, const TProgramData& project);
void AddSideView(TReportDocument& document, const TProgramData& project);
void AddResults(TReportDocument& document, const PlotSummary& summary, const RunRecord& run);
void AddGraphs(TReportDocument& document, const TResultGraphs& graphs, const TProgramData& project);

// A result as the engine's report prints it: one digit, the point, four
// digits and a two-digit exponent ("-9.0000E+04"); zero without a sign.
QString EngineNumber(double value);

// The notice of the first page when the results may not belong to the
// project as it is; empty when they do.
QString StaleResultsNotice(const TReportSources& sources);

}  // namespace korvan
