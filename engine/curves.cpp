// The curve stage of a run: the user curves as read, or the generated t-z
// curves and tip curve, each echoed into the report and the plot file.
#include "curves.h"

#include <algorithm>

#include "curve_writers.h"
#include "tip_curve.h"
#include "tz_curves.h"

namespace korvan {

namespace {

// The plot file shows at most this many generated curves (the top of the
// report set); user curves are written in full.
constexpr Int kMaxPlottedGeneratedCurves = 30;

}  // namespace

void EchoUserCurves(RunContext& ctx) {
  if (ctx.in.METHODTZ == 2) {
    WriteCurveCaption(ctx, "    USER-DEFINED T-Z CURVES");
    WriteTzCurveListing(ctx, ctx.in.tz.NTZ);
  }
  if (ctx.in.METHODQW == 2) {
    WriteCurveCaption(ctx, "    USER-DEFINED Q-W CURVE");
    WriteTipCurveListing(ctx);
  }
}

void PrepareTzCurves(RunContext& ctx) {
  if (ctx.in.METHODTZ == 2) {
    WriteTzPlotBlock(ctx, ctx.in.tz.NTZ);
    return;
  }
  GenerateTzCurves(ctx, ReportSetSites(ctx.in));
  if (ctx.Failed()) return;
  WriteCurveCaption(ctx, "    INTERNALLY GENERATED T-Z CURVES");
  WriteTzCurveListing(ctx, ctx.in.tz.NTZ);
  WriteTzPlotBlock(ctx, std::min(ctx.in.tz.NTZ, kMaxPlottedGeneratedCurves));
  GenerateTzCurves(ctx, AnalysisSetSites(ctx.in));
}

void PrepareTipCurve(RunContext& ctx) {
  if (ctx.in.METHODQW != 2) {
    GenerateTipCurve(ctx);
    if (ctx.Failed()) return;
    WriteCurveCaption(ctx, "    INTERNALLY GENERATED Q-W CURVE");
    WriteTipCurveListing(ctx);
  }
  WriteTipPlotBlock(ctx);
}

}  // namespace korvan
