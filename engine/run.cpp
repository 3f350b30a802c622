// The run driver: one call of the entry point, in the order of the run.
#include "run.h"

#include <cstdio>
#include <ctime>
#include <exception>
#include <memory>

#include "curves.h"
#include "project_reader.h"
#include "report_heading.h"
#include "run_context.h"
#include "run_description.h"
#include "solution.h"

namespace korvan {

namespace {

void WriteBanner(RunContext& ctx) {
  ctx.console.Write(R"(/5X, "KORVAN2021 analysis engine, version 2021.4.3")");
  ctx.console.Write(R"(5X, "Load vs settlement of an axially loaded pile")");
}

void ReportFileErrors(RunContext& ctx) {
  ctx.console.Write(R"(2X, "FILE ERRORS!")");
}

// Creates the run-notes file when it is missing; an existing one keeps its
// content.
void TouchNotesFile(const std::string& path) {
  if (path.empty()) return;
  if (std::FILE* notes = std::fopen(path.c_str(), "ab")) std::fclose(notes);
}

std::tm LocalTimeNow() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return local;
}

// Steps 6 to 13: the project data, the curves and the solutions. Returns
// early when a profile lookup has set a result code.
void ReadAndSolve(RunContext& ctx, RunScope scope) {
  InputData& in = ctx.in;
  ReadTitleAndControl(ctx);
  if (in.METHODTZ == 2) ReadUserTzCurves(ctx);
  if (in.METHODQW == 2) ReadUserQwCurve(ctx);
  if (in.METHODTZ != 2 || in.METHODQW != 2) ReadSoilLayers(ctx);
  ReadPileRecords(ctx);

  EchoUserCurves(ctx);
  PrepareTzCurves(ctx);
  if (ctx.Failed()) return;
  PrepareTipCurve(ctx);
  if (ctx.Failed()) return;

  ReadLoadingRecords(ctx);
  ReadSettlementRecord(ctx);
  ReadTzModificationRecord(ctx);
  ApplyTzModification(ctx);
  ReadQwModificationRecord(ctx);
  ApplyQwModification(ctx);

  if (scope == RunScope::ReadAndCurvesOnly) return;
  SolveAllTipMovements(ctx);
  if (in.NLOAD > 0) SolveAllHeadLoads(ctx);
}

// Step 5 on, with the channels open.
void RunOpenedProject(RunContext& ctx, RunScope scope) {
  ctx.console.Write(R"(///9X, "COMPUTATION IS PROCEEDING.......")");
  try {
    ReadAndSolve(ctx, scope);
  } catch (const DataFileError& error) {
    ReportFileErrors(ctx);
    ctx.report.Write(R"(//5X, "**** ERROR IN THE PROJECT DATA FILE ****"/5X, A)", {error.what()});
    ctx.result = kProjectDataError;
  }
}

void Run(RunContext& ctx) {
  ctx.result = kRunCompleted;
  WriteBanner(ctx);

  const bool describedRun = ReadRunDescription("names.dat", ctx.names);
  if (!describedRun) {
    ReportFileErrors(ctx);
    ctx.result = kRunDescriptionError;
    // The report still gets the reason when its path was read.
    if (!ctx.names.REPORTPATH.empty() && ctx.report.OpenForWriting(ctx.names.REPORTPATH)) {
      WriteReportHeading(ctx, LocalTimeNow());
      ctx.report.Write(
          R"(//5X, "**** ERROR: THE RUN DESCRIPTION names.dat IS MISSING OR INCOMPLETE ****")");
    }
    return;
  }

  if (!ctx.report.OpenForWriting(ctx.names.REPORTPATH)) {
    ReportFileErrors(ctx);
    ctx.result = kOutputFileError;
    return;
  }
  WriteReportHeading(ctx, LocalTimeNow());

  const bool dataOpen = ctx.data.Open(ctx.names.DATAPATH);
  // The plot file is always replaced, so that a failed run never leaves the
  // plot of an earlier run behind to be read as this run's result.
  const bool plotOpen = ctx.plot.OpenForWriting(ctx.names.PLOTPATH);
  TouchNotesFile(ctx.names.NOTESPATH);
  if (!dataOpen || !plotOpen) {
    ReportFileErrors(ctx);
    ctx.report.Write(R"(//5X, "**** ERROR: CANNOT OPEN THE FILE ****"/5X, A)",
                     {dataOpen ? ctx.names.PLOTPATH : ctx.names.DATAPATH});
    ctx.result = dataOpen ? kOutputFileError : kProjectDataError;
    return;
  }

  RunOpenedProject(ctx, RunScope::Complete);
}

}  // namespace

Int RunProjectText(std::string projectText, const std::string& reportPath,
                   const std::string& plotPath, RunScope scope) {
  try {
    auto ctx = std::make_unique<RunContext>();
    ctx->data.OpenText(std::move(projectText));
    ctx->report.OpenForWriting(reportPath);
    ctx->plot.OpenForWriting(plotPath);
    try {
      RunOpenedProject(*ctx, scope);
    } catch (const std::exception& error) {
      ctx->report.Write(R"(//5X, "**** ERROR: THE RUN STOPPED ****"/5X, A)", {error.what()});
      ctx->result = kProjectDataError;
    }
    return ctx->result;
  } catch (...) {
    return kProjectDataError;
  }
}

Int RunAnalysis() {
  try {
    auto ctx = std::make_unique<RunContext>();
    ctx->console.OpenConsole();
    try {
      Run(*ctx);
    } catch (const std::exception& error) {
      ReportFileErrors(*ctx);
      ctx->report.Write(R"(//5X, "**** ERROR: THE RUN STOPPED ****"/5X, A)", {error.what()});
      ctx->result = kProjectDataError;
    }
    // Step 14: data file, report, run notes (already closed), plot file.
    ctx->report.Close();
    ctx->plot.Close();
    ctx->console.Close();
    return ctx->result;
  } catch (...) {
    return kProjectDataError;  // not even the run context could be made
  }
}

}  // namespace korvan
