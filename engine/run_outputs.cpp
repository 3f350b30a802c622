#include "run_outputs.h"

#include <cerrno>
#include <system_error>

#include "run_texts.h"

namespace korvan {

namespace {

std::string Reason() {
  return std::generic_category().message(errno);
}

}  // namespace

std::string StageOutputs(RunContext& ctx, RunOutputs& outputs) {
  const RunDescription& names = ctx.names;
  RemoveStaleTemporaryFiles(names.REPORTPATH);
  if (!names.PLOTPATH.empty()) RemoveStaleTemporaryFiles(names.PLOTPATH);
  struct Output {
    const char* role;
    const std::string& path;
    const char* tag;  // the runner knows these two
    StagedOutput& staged;
    OutputChannel& channel;
  };
  const Output staged[] = {
      {"REPORT FILE", names.REPORTPATH, "report", outputs.report, ctx.report},
      {"PLOT FILE", names.PLOTPATH, "plot", outputs.plot, ctx.plot},
  };
  for (const Output& output : staged) {
    if (output.path.empty()) continue;
    if (!output.channel.OpenDescriptor(output.staged.Create(output.path, output.tag))) {
      const std::string why = std::string("THE ") + output.role +
                              " CANNOT BE CREATED: " + output.path + " (" + Reason() + ")";
      ctx.report.Close();
      ctx.plot.Close();
      outputs.report.Discard();
      outputs.plot.Discard();
      return why;
    }
  }
  return {};
}

ClosedOutputs CloseOutputs(RunContext& ctx, const std::string& reportPath,
                           const std::string& plotPath, bool syncToDisk) {
  ClosedOutputs closed;
  closed.plotWhole = ctx.plot.Close(syncToDisk);
  if (!closed.plotWhole) {
    WriteFileErrors(ctx, "THE PLOT FILE COULD NOT BE WRITTEN WHOLE: " + plotPath);
    ctx.report.Write(R"(//5X, "**** ERROR: THE PLOT FILE COULD NOT BE WRITTEN WHOLE ****"/5X, A)",
                     {plotPath});
    ctx.result = kOutputFileError;
  }
  closed.reportWhole = ctx.report.Close(syncToDisk);
  if (!closed.reportWhole) {
    WriteFileErrors(ctx, "THE REPORT FILE COULD NOT BE WRITTEN WHOLE: " + reportPath);
    ctx.result = kOutputFileError;
  }
  return closed;
}

void FinishOutputs(RunContext& ctx, RunOutputs& outputs) {
  const RunDescription& names = ctx.names;
  const ClosedOutputs closed =
      CloseOutputs(ctx, names.REPORTPATH, names.PLOTPATH, /*syncToDisk=*/true);
  if (!outputs.report.IsCreated()) return;
  if (!closed.reportWhole) {
    outputs.report.Discard();
    outputs.plot.Discard();
    ctx.console.Write("2X, A", {"THE EARLIER REPORT AND PLOT FILE ARE KEPT AS THEY WERE"});
    return;
  }
  if (!closed.plotWhole) outputs.plot.Empty();
  const StagedOutput* failed = nullptr;
  if (!PutInPlaceTogether(outputs.plot, outputs.report, failed)) {
    const char* role = failed == &outputs.plot ? "THE PLOT FILE" : "THE REPORT FILE";
    WriteFileErrors(ctx, std::string(role) + " CANNOT BE PUT IN PLACE: " + failed->Target() + " (" +
                             Reason() + ")");
    ctx.result = kOutputFileError;
  }
}

}  // namespace korvan
