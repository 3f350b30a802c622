// Timing of whole runs and of the solution alone, for a typical project and
// for one at the engine's capacity limits. Counters: bytes written (report
// and plot file), formatting throughput, peak resident memory.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <memory>
#include <string>

#include "bench/benchmark_projects.h"
#include "engine/curves.h"
#include "engine/file_access.h"
#include "engine/head_load_solution.h"
#include "engine/modifications.h"
#include "engine/project_reader.h"
#include "engine/run.h"
#include "engine/run_context.h"
#include "engine/tip_movement_solution.h"

namespace korvan {
namespace {

using benchmark_projects::CapacityProject;
using benchmark_projects::TypicalProject;

long PeakMemoryBytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss * 1024L;
}

// The whole run writes to /dev/null while timed; one more run in memory
// counts the bytes.
void WholeRun(benchmark::State& state, const std::string& project) {
  Int result = 0;
  for (auto _ : state) {
    result = RunProjectText(project, "/dev/null", "/dev/null");
    benchmark::DoNotOptimize(result);
  }
  const ProjectOutputs outputs = RunProjectInMemory(project);
  const auto bytes = static_cast<std::int64_t>(outputs.report.size() + outputs.plot.size());
  state.counters["result"] = result;
  state.counters["bytes_written"] = static_cast<double>(bytes);
  state.SetBytesProcessed(bytes * state.iterations());
  state.counters["peak_rss_bytes"] = static_cast<double>(PeakMemoryBytes());
}

// The context as the run leaves it just before the first walk.
std::unique_ptr<RunContext> PreparedContext(const std::string& project) {
  auto ctx = std::make_unique<RunContext>();
  ctx->data.OpenText(project);
  InputData& in = ctx->in;
  ReadTitleAndControl(*ctx);
  if (in.METHODTZ == 2) ReadUserTzCurves(*ctx);
  if (in.METHODQW == 2) ReadUserQwCurve(*ctx);
  if (in.METHODTZ != 2 || in.METHODQW != 2) ReadSoilLayers(*ctx);
  ReadPileRecords(*ctx);
  PrepareTzCurves(*ctx);
  PrepareTipCurve(*ctx);
  ReadLoadingRecords(*ctx);
  ReadSettlementRecord(*ctx);
  ReadTzModificationRecord(*ctx);
  ApplyTzModification(*ctx);
  ReadQwModificationRecord(*ctx);
  ApplyQwModification(*ctx);
  return ctx;
}

// The solution with closed channels (nothing formatted, nothing written), or
// with the report and plot going to /dev/null when `withOutput` (and once
// more into memory, to count the bytes).
void Solution(benchmark::State& state, const std::string& project, bool withOutput) {
  auto ctx = PreparedContext(project);
  const auto prepared = std::make_unique<InputData>(ctx->in);
  for (auto _ : state) {
    state.PauseTiming();
    ctx->in = *prepared;
    ctx->res = Results{};
    ctx->result = 0;
    if (withOutput) {
      OpenOutputChannel(ctx->report, "/dev/null");
      OpenOutputChannel(ctx->plot, "/dev/null");
    }
    state.ResumeTiming();
    SolveAllTipMovements(*ctx);
    if (ctx->in.NLOAD > 0) SolveAllHeadLoads(*ctx);
    ctx->report.Close();
    ctx->plot.Close();
  }
  state.counters["result"] = ctx->result;
  state.counters["peak_rss_bytes"] = static_cast<double>(PeakMemoryBytes());
  int converged = 0;
  for (Int i = 1; i <= ctx->in.NLOAD; ++i) converged += ctx->res.HEADMV[i] != 0 ? 1 : 0;
  state.counters["converged_loads"] = converged;
  if (withOutput) {
    ctx->in = *prepared;
    ctx->res = Results{};
    ctx->report.OpenMemory();
    ctx->plot.OpenMemory();
    SolveAllTipMovements(*ctx);
    if (ctx->in.NLOAD > 0) SolveAllHeadLoads(*ctx);
    const auto bytes =
        static_cast<std::int64_t>(ctx->report.Text().size() + ctx->plot.Text().size());
    state.counters["bytes_written"] = static_cast<double>(bytes);
    state.SetBytesProcessed(bytes * state.iterations());
  }
}

void BM_TypicalWholeRun(benchmark::State& state) {
  WholeRun(state, TypicalProject());
}
void BM_TypicalSolutionAlone(benchmark::State& state) {
  Solution(state, TypicalProject(), false);
}
void BM_TypicalSolutionWithOutput(benchmark::State& state) {
  Solution(state, TypicalProject(), true);
}
void BM_CapacityWholeRun(benchmark::State& state) {
  WholeRun(state, CapacityProject());
}
void BM_CapacitySolutionAlone(benchmark::State& state) {
  Solution(state, CapacityProject(), false);
}
void BM_CapacitySolutionWithOutput(benchmark::State& state) {
  Solution(state, CapacityProject(), true);
}

BENCHMARK(BM_TypicalWholeRun)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TypicalSolutionAlone)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TypicalSolutionWithOutput)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CapacityWholeRun)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CapacitySolutionAlone)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CapacitySolutionWithOutput)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace korvan
