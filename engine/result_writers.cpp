#include "result_writers.h"

namespace korvan {

namespace {

constexpr const char* kTipMovementResultsHeading =
    R"(//8X, "RESULTS DUE TO TIP MOVEMENTS"/8X, "----------------------------"/)";
constexpr const char* kTableHeading =
    R"(/8X, "TOP  LOAD     TOP MOVEMENT     TIP MOVEMENT", 5X, "TIP  LOAD")";
constexpr const char* kTableLabels = "11X, A3, 13X, A3, 14X, A3, 12X, A3";
constexpr const char* kTableRow = "PE17.4, 3(PE16.4)";

void WriteTitle(RunContext& ctx, const char* layout) {
  ctx.report.Write(layout, {ctx.in.TITLE});
}

void WriteResultTableHeading(RunContext& ctx) {
  const UnitLabels& l = ctx.labels;
  ctx.report.Write(kTableHeading);
  ctx.report.Write(kTableLabels, {l.ForceLabel, l.MovementLabel, l.MovementLabel, l.ForceLabel});
}

void WriteDistributionHeading(RunContext& ctx, Real tipMovement, Real tipLoad) {
  const UnitLabels& l = ctx.labels;
  ctx.report.Write(R"(" ")");
  ctx.report.Write(R"(//8X, "APPLIED TIP MOVEMENT", 8X, "TIP   LOAD")");
  ctx.report.Write("17X, A3, 20X, A3", {l.MovementLabel, l.ForceLabel});
  ctx.report.Write("PE23.4, PE23.4", {Signed(tipMovement, false), Signed(tipLoad, false)});
  ctx.report.Write(
      R"(///1X, "DEPTH     LOAD", 7X, "LOAD", 6X, "TOTAL", 6X, "AVG", 6X, "DEFORM", 5X, "TOTAL     AVG"/9X, "TRANSFER     INCR", 6X, "LOAD", 7X, "LOAD", 5X, "OF INCR    MVMNT     MVMNT")");
  ctx.report.Write("2X, A3, 5X, A3, 10X, A3, 7X, A3, 8X, A3, 6X, A3, 8X, A3, 7X, A3",
                   {l.LengthLabel, l.StressLabel, l.ForceLabel, l.ForceLabel, l.ForceLabel,
                    l.MovementLabel, l.MovementLabel, l.MovementLabel});
}

constexpr const char* kBoundaryLine = "1X, F6.1, 8X, 14X, PE10.3, 21X, PE10.3";

void WriteDistributionLines(RunContext& ctx, const WalkResult& walk, const PileWalker& walker) {
  const bool up = walk.uplift;
  for (const IncrementState& s : walker.Increments()) {
    ctx.report.Write(kBoundaryLine,
                     {s.bottomDepth, Signed(s.bottomLoad, up), Signed(s.bottomMove, up)});
    ctx.report.Write("1X, F6.1, 1X, PE10.3, 1X, PE10.3, 10X, PE10.3, 1X, PE10.3, 10X, PE10.3",
                     {s.midDepth, Signed(s.loadTransfer, up), Signed(s.loadIncrement, up),
                      Signed(s.averageLoad, up), Signed(s.shortening, up), Signed(s.midMove, up)});
  }
  ctx.report.Write(kBoundaryLine,
                   {walker.HeadDepth(), Signed(walk.headLoad, up), Signed(walk.headMove, up)});
}

void WritePlotDistribution(RunContext& ctx, const char* layout, bool uplift,
                           const PileWalker& walker) {
  for (const IncrementState& s : walker.Increments()) {
    ctx.plot.Write(layout, {s.midDepth, Signed(s.averageLoad, uplift), Signed(s.midMove, uplift)});
  }
}

}  // namespace

void WriteTipMovementResultsStart(RunContext& ctx) {
  ctx.report.Write("");
  ctx.report.Write("");
  WriteTitle(ctx, "1X, A72");
  ctx.report.Write(kTipMovementResultsHeading);
  ctx.plot.WriteFree({ctx.in.NTIPMV, ctx.in.NINC, ctx.in.NUNIT});
}

void WriteTipMovementBlock(RunContext& ctx, Real tipMovement, const WalkResult& walk,
                           const PileWalker& walker) {
  if (ctx.in.LSO < 1) WriteDistributionHeading(ctx, tipMovement, walk.tipLoad);
  if (ctx.in.LSO == 0) WriteDistributionLines(ctx, walk, walker);
  WritePlotDistribution(ctx, "1X, PE10.3, 3X, PE10.3, 3X, PE10.3", walk.uplift, walker);
}

void WriteTipMovementSummary(RunContext& ctx) {
  ctx.report.Write(R"(" ")");
  WriteTitle(ctx, "1X, A72");
  ctx.report.Write(kTipMovementResultsHeading);
  WriteResultTableHeading(ctx);
  const Int ntipmv = StoredCount(ctx.in.NTIPMV, kMaxTipMovements);
  const Results& r = ctx.res;
  for (Int n = 1; n <= ntipmv; ++n) {
    const std::initializer_list<FieldValue> row = {r.HEADLOAD[n], r.HEADMV[n], ctx.in.TIPMV[n],
                                                   r.TIPLOAD[n]};
    ctx.report.Write(kTableRow, row);
    ctx.plot.Write(kTableRow, row);
  }
}

void WriteAppliedLoadsStart(RunContext& ctx) {
  ctx.report.Write(R"("1")");
  WriteTitle(ctx, "8X, A72");
  ctx.report.Write(R"(//8X, "RESULTS DUE TO APPLIED LOADS"/8X, "----------------------------"/)");
  WriteResultTableHeading(ctx);
  ctx.plot.WriteFree({ctx.in.NLOAD, ctx.in.NINC, ctx.in.NUNIT});
}

void WriteWalkOverflow(RunContext& ctx, bool headLoad, Real value, WalkOverflow overflow) {
  const char* suspect = "THE PILE AND SOIL DATA FOR EXTREME VALUES";
  switch (overflow) {
    case WalkOverflow::kDepth:
      suspect = "THE PILE LENGTH AND THE PILE HEAD COORDINATE";
      break;
    case WalkOverflow::kTipLoad:
      suspect = "THE Q-W CURVE: TIP AREA, DIAMETER AND THE SOIL AT THE TIP";
      break;
    case WalkOverflow::kLoadTransfer:
      suspect = "THE T-Z CURVES: SOIL STRENGTHS AND MODIFICATION FACTORS";
      break;
    case WalkOverflow::kLoad:
      suspect = "THE PILE DIAMETER AND THE T-Z CURVES (SOIL STRENGTHS)";
      break;
    case WalkOverflow::kShortening:
      suspect = "THE AXIAL STIFFNESS AE";
      break;
    case WalkOverflow::kMovement:
      suspect = "THE AXIAL STIFFNESS AE AND THE TIP MOVEMENTS";
      break;
    case WalkOverflow::kNone:
      break;
  }
  const UnitLabels& l = ctx.labels;
  ctx.report.Write(
      R"(//5X, "**** ERROR: THE ", A, 1X, PE10.3, 1X, A3, " GIVES NUMBERS BEYOND THE RANGE OF THE ENGINE ****"/5X, "CHECK ", A)",
      {headLoad ? "SEARCH FOR HEAD LOAD" : "WALK FOR TIP MOVEMENT", value,
       headLoad ? l.ForceLabel : l.MovementLabel, suspect});
}

void WriteAppliedLoadResult(RunContext& ctx, Int i, bool converged, bool uplift,
                            const PileWalker& walker) {
  const Results& r = ctx.res;
  const Real headMove = converged ? Signed(r.HEADMV[i], uplift) : Real(0);
  const std::initializer_list<FieldValue> row = {r.HEADLOAD[i], headMove, ctx.in.TIPMV[i],
                                                 r.TIPLOAD[i]};
  if (converged) {
    ctx.report.Write(kTableRow, row);
  } else {
    ctx.report.Write(R"(PE17.4, 5X, "NOT ABLE TO GET CONVERGENCE")", {r.HEADLOAD[i]});
  }
  ctx.plot.Write("I5", {converged ? 1 : 0});
  ctx.plot.Write(kTableRow, row);
  if (converged) WritePlotDistribution(ctx, "3X, E10.3, 3X, E10.3, 3X, E10.3", uplift, walker);
}

}  // namespace korvan
