// Arbitrary bytes as a project data file, analysed whole: reading, curves,
// the walk for every tip movement and the search for every head load, with
// every report and plot line formatted. A run must end with a result code,
// never crash, hang or write outside the engine's storage.
//
// The run follows the engine's own order of steps (engine/run.cpp). Only the
// sizes a file may ask for are cut down here, right after they are read, so
// that one input runs in milliseconds: a valid file may ask for 500
// increments, 100 tip movements and 50 head loads of up to 100 walks each.
#include <fcntl.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <memory>
#include <string>

#include "curves.h"
#include "head_load_solution.h"
#include "modifications.h"
#include "project_reader.h"
#include "run_context.h"
#include "tip_movement_solution.h"

namespace {

constexpr korvan::Int kFuzzMaxIncrements = 24;
constexpr korvan::Int kFuzzMaxTipMovements = 6;
constexpr korvan::Int kFuzzMaxLoads = 3;

void ReadAndSolveClamped(korvan::RunContext& ctx) {
  using namespace korvan;
  InputData& in = ctx.in;
  ReadTitleAndControl(ctx);
  in.NINC = std::min(in.NINC, kFuzzMaxIncrements);
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
  in.NTIPMV = std::min(in.NTIPMV, kFuzzMaxTipMovements);
  in.NLOAD = std::min(in.NLOAD, kFuzzMaxLoads);
  ReadSettlementRecord(ctx);
  ReadTzModificationRecord(ctx);
  ApplyTzModification(ctx);
  ReadQwModificationRecord(ctx);
  ApplyQwModification(ctx);

  SolveAllTipMovements(ctx);
  if (in.NLOAD > 0) SolveAllHeadLoads(ctx);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  auto ctx = std::make_unique<korvan::RunContext>();
  ctx->data.OpenText(std::string(reinterpret_cast<const char*>(data), size));
  // The report and the plot file are written and thrown away.
  ctx->report.OpenDescriptor(open("/dev/null", O_WRONLY | O_CLOEXEC));
  ctx->plot.OpenDescriptor(open("/dev/null", O_WRONLY | O_CLOEXEC));
  try {
    ReadAndSolveClamped(*ctx);
  } catch (const korvan::DataFileError&) {
    // The engine reports these as a project data error.
  }
  return 0;
}
