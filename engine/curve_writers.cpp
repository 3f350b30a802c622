#include "curve_writers.h"

namespace korvan {

namespace {

constexpr std::string_view kTzCurveHeader = R"(2X, I5, I11, E16.4)";
constexpr std::string_view kTzPoint = R"(31X, PE15.4, PE15.4)";
constexpr std::string_view kTipPoint = R"(PE18.4, PE19.4)";

void WriteTzCurves(OutputChannel& out, const TzCurveStore& tz, Int count) {
  for (Int k = 1; k <= count; ++k) {
    out.Write(kTzCurveHeader, {tz.CRVNO[k], tz.NPTZ[k], tz.XTZ[k]});
    const Int points = StoredCount(tz.NPTZ[k], kMaxTzPoints);
    for (Int j = 1; j <= points; ++j) out.Write(kTzPoint, {tz.T[k][j], tz.Z[k][j]});
  }
}

void WriteTipPoints(OutputChannel& out, const InputData& in) {
  const Int points = StoredCount(in.NQW, kMaxQwPoints);
  for (Int j = 1; j <= points; ++j) out.Write(kTipPoint, {in.QTIP[j], in.WTIP[j]});
}

}  // namespace

void WriteCurveCaption(RunContext& ctx, std::string_view caption) {
  ctx.report.Write(R"(//1X, A)", {caption});
}

void WriteTzCurveListing(RunContext& ctx, Int count) {
  ctx.report.Write(R"(//4X, "T-Z       NO. OF    DEPTH TO    LOAD ", "TRANSFER  PILE")");
  ctx.report.Write(
      R"(3X, "CURVE NO.", 2X, "POINTS", 4X, "CURVE,", A3, 3X, "TRANSFER,", A3, 3X, "MOVEMENT,", A3/)",
      {ctx.labels.LengthLabel, ctx.labels.StressLabel, ctx.labels.MovementLabel});
  WriteTzCurves(ctx.report, ctx.in.tz, StoredCount(count, kMaxTzCurves));
}

void WriteTipCurveListing(RunContext& ctx) {
  ctx.report.Write(R"(//8X, "TIP   LOAD", 8X, "TIP MOVEMENT"/12X, A3, 15X, A3)",
                   {ctx.labels.ForceLabel, ctx.labels.MovementLabel});
  WriteTipPoints(ctx.report, ctx.in);
}

void WriteTzPlotBlock(RunContext& ctx, Int count) {
  const Int stored = StoredCount(count, kMaxTzCurves);
  ctx.plot.WriteFree({stored});
  WriteTzCurves(ctx.plot, ctx.in.tz, stored);
}

void WriteTipPlotBlock(RunContext& ctx) {
  ctx.plot.WriteFree({StoredCount(ctx.in.NQW, kMaxQwPoints)});
  WriteTipPoints(ctx.plot, ctx.in);
}

}  // namespace korvan
