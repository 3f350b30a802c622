// The run driver: one call of the entry point, in the order of the run.
#include "run.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <ctime>
#include <exception>
#include <memory>

#include "curves.h"
#include "file_access.h"
#include "head_load_solution.h"
#include "modifications.h"
#include "project_reader.h"
#include "report_heading.h"
#include "run_context.h"
#include "run_description.h"
#include "run_files.h"
#include "run_outputs.h"
#include "run_texts.h"
#include "tip_movement_solution.h"

namespace korvan {

namespace {

constexpr const char* kRunDescriptionFile = "names.dat";

// Creates the run-notes file when it is missing; an existing one keeps its
// content, and needs no writing (the user may have made it read-only). False
// when it cannot be created.
bool TouchNotesFile(const std::string& path) {
  const int fd = OpenOutputFile(path, /*append=*/true, OutputFileKind::kRegularOnly);
  if (fd >= 0) return ::close(fd) == 0;
  struct stat info {};
  return (errno == EACCES || errno == EROFS) && ::stat(path.c_str(), &info) == 0 &&
         S_ISREG(info.st_mode);
}

std::tm LocalTimeNow() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return local;
}

// Reading and solving, in the order of the run: the project data up to the
// pile records, the curves, the loading and modification records, the
// tip-movement solution and the head-load solution. Returns early when a
// profile lookup has set a result code.
void ReadAndSolve(RunContext& ctx, RunScope scope, const RunLimits& limits) {
  InputData& in = ctx.in;
  ReadTitleAndControl(ctx);
  in.NINC = std::min(in.NINC, limits.maxIncrements);
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
  in.NTIPMV = std::min(in.NTIPMV, limits.maxTipMovements);
  in.NLOAD = std::min(in.NLOAD, limits.maxHeadLoads);
  ReadSettlementRecord(ctx);
  ReadTzModificationRecord(ctx);
  ApplyTzModification(ctx);
  ReadQwModificationRecord(ctx);
  ApplyQwModification(ctx);

  if (scope == RunScope::ReadAndCurvesOnly) return;
  SolveAllTipMovements(ctx);
  if (in.NLOAD > 0) SolveAllHeadLoads(ctx);
}

// The run once its files are open: the progress line on the console, then
// reading and solving; a data file that breaks its layout ends the run with
// code 3 and the reader's message in the report.
void RunOpenedProject(RunContext& ctx, RunScope scope, const RunLimits& limits = {}) {
  ctx.console.Write(R"(///9X, "COMPUTATION IS PROCEEDING.......")");
  try {
    ReadAndSolve(ctx, scope, limits);
  } catch (const DataFileError& error) {
    WriteFileErrors(ctx);
    ctx.report.Write(R"(//5X, "**** ERROR IN THE PROJECT DATA FILE ****"/5X, A)", {error.what()});
    ctx.result = kProjectDataError;
  }
}

// Why the data file could not be read, for the report.
const char* DataFileProblem(FileReadStatus status) {
  switch (status) {
    case FileReadStatus::kNotRegular:
      return R"(//5X, "**** ERROR: THE PROJECT DATA FILE IS NOT A REGULAR FILE ****"/5X, A)";
    case FileReadStatus::kTooLarge:
      return R"(//5X, "**** ERROR: THE PROJECT DATA FILE IS LARGER THAN 64 MB ****"/5X, A)";
    default:
      return R"(//5X, "**** ERROR: CANNOT OPEN THE FILE ****"/5X, A)";
  }
}

void Run(RunContext& ctx, RunOutputs& outputs) {
  ctx.result = kRunCompleted;
  WriteStartBanner(ctx);
  const RunDescription& names = ctx.names;

  std::string why;
  if (!ReadRunDescription(kRunDescriptionFile, ctx.names, &why)) {
    WriteFileErrors(ctx, why);
    ctx.result = kRunDescriptionError;
    // The report still gets the reason when its path was read and writing
    // it can harm no other file; a plot file whose path was read is
    // replaced by an empty one, which belongs to this report.
    if (!names.REPORTPATH.empty() && UnsafeRunFiles(names, kRunDescriptionFile).empty() &&
        StageOutputs(ctx, outputs).empty()) {
      WriteReportHeading(ctx, LocalTimeNow());
      ctx.report.Write(
          R"(//5X, "**** ERROR: THE RUN DESCRIPTION names.dat IS MISSING OR INCOMPLETE ****"/5X, A)",
          {why});
    }
    return;
  }

  // Nothing is opened, created or emptied before every file has passed.
  if (const std::string unsafe = UnsafeRunFiles(names, kRunDescriptionFile); !unsafe.empty()) {
    WriteFileErrors(ctx, unsafe);
    ctx.result = kOutputFileError;
    return;
  }
  // Both outputs can be written before either is: a run that cannot write
  // its plot file leaves the earlier report in place too.
  if (const std::string failed = StageOutputs(ctx, outputs); !failed.empty()) {
    WriteFileErrors(ctx, failed);
    ctx.result = kOutputFileError;
    return;
  }
  WriteReportHeading(ctx, LocalTimeNow());

  // From here on the plot file is always replaced, so that a failed run never
  // leaves the plot of an earlier run behind to be read as this run's result.
  const FileReadStatus data = ctx.data.Open(names.DATAPATH);
  const bool notesMade = TouchNotesFile(names.NOTESPATH);
  if (data != FileReadStatus::kRead) {
    WriteFileErrors(ctx, "THE PROJECT DATA FILE CANNOT BE READ: " + names.DATAPATH);
    ctx.report.Write(DataFileProblem(data), {names.DATAPATH});
    ctx.result = kProjectDataError;
    return;
  }
  if (!notesMade) {
    WriteFileErrors(ctx, "THE RUN-NOTES FILE CANNOT BE CREATED: " + names.NOTESPATH);
    ctx.report.Write(R"(//5X, "**** ERROR: CANNOT OPEN THE FILE ****"/5X, A)", {names.NOTESPATH});
    ctx.result = kOutputFileError;
    return;
  }

  RunOpenedProject(ctx, RunScope::Complete);
}

// A project given as text, run with the report and plot channels open; the
// names are those of the outputs, for the messages of a failed write.
Int RunProjectWithOutputs(RunContext& ctx, std::string projectText, RunScope scope,
                          const RunLimits& limits, const std::string& reportName,
                          const std::string& plotName) {
  ctx.data.OpenText(std::move(projectText));
  try {
    RunOpenedProject(ctx, scope, limits);
  } catch (const std::exception& error) {
    ctx.report.Write(R"(//5X, "**** ERROR: THE RUN STOPPED ****"/5X, A)", {error.what()});
    ctx.result = kProjectDataError;
  }
  CloseOutputs(ctx, reportName, plotName);
  return ctx.result;
}

}  // namespace

Int RunProjectText(std::string projectText, const std::string& reportPath,
                   const std::string& plotPath, RunScope scope, const RunLimits& limits) {
  try {
    auto ctx = std::make_unique<RunContext>();
    if (!OpenOutputChannel(ctx->report, reportPath) || !OpenOutputChannel(ctx->plot, plotPath)) {
      return kOutputFileError;
    }
    return RunProjectWithOutputs(*ctx, std::move(projectText), scope, limits, reportPath, plotPath);
  } catch (...) {
    return kProjectDataError;
  }
}

ProjectOutputs RunProjectInMemory(std::string projectText, RunScope scope,
                                  const RunLimits& limits) {
  ProjectOutputs outputs;
  try {
    auto ctx = std::make_unique<RunContext>();
    ctx->report.OpenMemory();
    ctx->plot.OpenMemory();
    outputs.result = RunProjectWithOutputs(*ctx, std::move(projectText), scope, limits,
                                           "(in memory)", "(in memory)");
    outputs.report = ctx->report.Text();
    outputs.plot = ctx->plot.Text();
  } catch (...) {
    outputs.result = kProjectDataError;
  }
  return outputs;
}

Int RunAnalysis() {
  try {
    // Temporary files left when anything below fails are removed with it.
    RunOutputs outputs;
    auto ctx = std::make_unique<RunContext>();
    ctx->console.OpenConsole();
    try {
      Run(*ctx, outputs);
    } catch (const std::exception& error) {
      WriteFileErrors(*ctx);
      ctx->report.Write(R"(//5X, "**** ERROR: THE RUN STOPPED ****"/5X, A)", {error.what()});
      ctx->result = kProjectDataError;
    }
    // The data file was read whole and the run notes are closed already.
    FinishOutputs(*ctx, outputs);
    ctx->console.Close();
    return ctx->result;
  } catch (...) {
    return kProjectDataError;  // not even the run context could be made
  }
}

}  // namespace korvan
