#include "project_echo.h"

#include <string_view>

#include "run_texts.h"

namespace korvan {

namespace {

// Writes the English or the SI form of a heading whose text names its units;
// neither for a unit system other than 1 and 2.
void WriteUnitHeading(RunContext& ctx, std::string_view english, std::string_view si,
                      std::initializer_list<FieldValue> values = {}) {
  if (ctx.in.NUNIT == 1) {
    ctx.report.Write(english, values);
  } else if (ctx.in.NUNIT == 2) {
    ctx.report.Write(si, values);
  }
}

bool HasApiLayer(const InputData& in) {
  for (Int layer = 1; layer <= in.NLAYER; ++layer) {
    if (in.KSOIL[layer] == 5 || in.KSOIL[layer] == 6) return true;
  }
  return false;
}

}  // namespace

void EchoTitle(RunContext& ctx) {
  ctx.report.Write(R"(" ")");
  ctx.report.Write("1X, A72", {ctx.in.TITLE});
  ctx.report.Write(R"(///1X, " AXIALLY LOADED PILE, CONSTANT OD"/)");
}

void EchoLayerHeading(RunContext& ctx) {
  WriteUnitHeading(ctx,
                   R"(//12X, "LAYER", 12X, "SOIL TYPE          XTOP        XBOT"/)"
                   R"(12X, "     ", 12X, "                    IN.         IN.")",
                   R"(//12X, "LAYER", 12X, "SOIL TYPE          XTOP        XBOT"/)"
                   R"(12X, "      ", 12X, "                    M.          M.")");
}

void EchoLayer(RunContext& ctx, Int layer) {
  const InputData& in = ctx.in;
  ctx.report.Write(
      "10X, I5, 4X, A24, 2X, 2(PE10.3, 2X)",
      {in.LAYNO[layer], SoilTypeName(in.KSOIL[layer]), in.XTOP[layer], in.XBOT[layer]});
}

void EchoPropertyRows(RunContext& ctx) {
  const InputData& in = ctx.in;
  WriteUnitHeading(ctx, R"(//10X, "    XG1        GAM1"/10X, "    IN.       LB/IN**3")",
                   R"(//10X, "    XG1        GAM1"/10X, "     M        kN/M**3")");
  for (Int row = 1; row <= in.NSTR; ++row) {
    ctx.report.Write("10X, 2(PE10.3, 2X)", {in.XG1[row], in.GAM1[row]});
  }

  WriteUnitHeading(ctx,
                   R"(//7X, "XSTR         C1          EE50        PHI1   ", )"
                   R"("BLOW COUNT   UNIT SIDE    UNIT TIP"/)"
                   R"(7X, " IN.      LB/IN**2                   DEG.     ", )"
                   R"("            LB/IN**2    LB/IN**2")",
                   R"(//7X, "XSTR         C1          EE50        PHI1   ", )"
                   R"("BLOW COUNT   UNIT SIDE    UNIT TIP"/)"
                   R"(7X, "  M.       kN/M**2                   DEG.     ", )"
                   R"("             kN/M**2     kN/M**2")");
  for (Int row = 1; row <= in.NSTR; ++row) {
    ctx.report.Write("3X, 7(PE10.3, 2X)", {in.XSTR[row], in.C1[row], in.EE50[row], in.PHI1[row],
                                           in.BLOW[row], in.USIDE[row], in.UTIP[row]});
  }

  // The API models alone use the peak movement and the residual ratio.
  if (HasApiLayer(in)) {
    WriteUnitHeading(ctx, R"(//7X, "XSTR       ZPEAK     tres/tmax"/7X, " IN.        IN.      ")",
                     R"(//7X, "XSTR       ZPEAK     tres/tmax"/7X, "  M.         M.      ")");
    for (Int row = 1; row <= in.NSTR; ++row) {
      ctx.report.Write("3X, 7(PE10.3, 2X)", {in.XSTR[row], in.ZPEAK[row], in.TRES[row]});
    }
  }
  ctx.report.Write(R"(/"  ")");
}

void EchoPileRecords(RunContext& ctx) {
  const InputData& in = ctx.in;
  const UnitLabels& labels = ctx.labels;
  ctx.report.Write(R"(/9X, "  DEPTH", 13X, "AE PILE")");
  ctx.report.Write("12X, A3, 16X, A3", {labels.LengthLabel, labels.ForceLabel});
  for (Int point = 1; point <= in.NAE; ++point) {
    ctx.report.Write("PE18.4, PE19.4", {in.XAE[point], in.AEPILE[point]});
  }
  ctx.report.Write(R"(///8X, "PILE LENGTH", 7X, "HEAD COORD.", 6X, "OUTER DIAMETER", 7X, )"
                   R"("TOLERANCE")");
  ctx.report.Write(
      "12X, A3, 16X, A3, 16X, A3, 15X, A3",
      {labels.LengthLabel, labels.LengthLabel, labels.LengthLabel, labels.MovementLabel});
  ctx.report.Write("PE18.4, PE18.4, PE19.4, PE18.4", {in.PLEN, in.HEAD, in.DIAM, in.TOL});
}

void EchoTipMovements(RunContext& ctx) {
  const InputData& in = ctx.in;
  ctx.report.Write(R"(///8X, "USER-DEFINED TIP MOVEMENTS"/12X, A3)", {ctx.labels.MovementLabel});
  for (Int n = 1; n <= in.NTIPMV; ++n) ctx.report.Write("PE18.4", {in.TIPMV[n]});
}

void EchoHeadLoads(RunContext& ctx) {
  const InputData& in = ctx.in;
  WriteUnitHeading(ctx, R"(//10X, "   LOADS      "/10X, "    LB.       ")",
                   R"(//10X, "   LOADS      "/10X, "    KN        ")");
  for (Int n = 1; n <= in.NLOAD; ++n) ctx.report.Write("4X, F10.3", {in.PLOAD[n]});
}

void EchoSettlementProfile(RunContext& ctx) {
  const InputData& in = ctx.in;
  WriteUnitHeading(ctx,
                   R"(//10X, "   SOIL SETTLEMENT PROFILE"//10X, "   DEPTH     SETTLEMENT"/)"
                   R"(10X, "    IN.         IN")",
                   R"(//10X, "   SOIL SETTLEMENT PROFILE"//10X, "   DEPTH     SETTLEMENT"/)"
                   R"(10X, "     M           M")");
  for (Int n = 1; n <= in.NSET; ++n) {
    ctx.report.Write("10X, 2(PE10.3, 2X)", {in.SETX[n], in.SETV[n]});
  }
}

void EchoTzModification(RunContext& ctx) {
  const InputData& in = ctx.in;
  ctx.report.Write(R"(//10X, "DEPTH", 20X, "t-Multiplier  ", 10X, "z-Multiplier  "/10X, A3)",
                   {ctx.labels.LengthLabel});
  for (Int n = 1; n <= in.NMOD; ++n) {
    ctx.report.Write("7X, E10.3, 18X, E10.3, 15X, E10.3", {in.MODX[n], in.MODT[n], in.MODZ[n]});
  }
}

void EchoQwModification(RunContext& ctx) {
  ctx.report.Write(R"(//10X, "PILE TIP", 17X, "Q-Multiplier  ", 10X, "w-Multiplier "/)"
                   R"(32X, PE10.3, 13X, PE10.3)",
                   {ctx.in.QMULT, ctx.in.WMULT});
}

}  // namespace korvan
