// The records of the project data file, in file order. Each block is echoed
// into the report as soon as it has been read. Counts are checked against
// the engine's storage before anything is stored, and the few values the
// walk divides by are checked where they are read, so that no data file can
// make the engine write outside its arrays or compute with a zero stiffness.
#include "project_reader.h"

#include <string>

#include "project_echo.h"
#include "run_texts.h"
#include "tip_movements.h"

namespace korvan {

namespace {

std::string Numbered(std::string_view record, std::string_view item, Int number) {
  return std::string(record) + " (" + std::string(item) + " " + std::to_string(number) + ")";
}

// Reads a count and rejects it outside lowest..highest.
Int ReadCount(RecordReader& data, std::string_view field, Int lowest, Int highest) {
  const Int count = data.ReadInt();
  if (count < lowest || count > highest) {
    data.Fail(std::string(field) + " = " + std::to_string(count) + " is outside " +
              std::to_string(lowest) + ".." + std::to_string(highest));
  }
  return count;
}

// Reads a count that stands alone as its own record.
Int ReadCountRecord(RecordReader& data, std::string_view record, std::string_view field, Int lowest,
                    Int highest) {
  data.BeginRecord(record);
  return ReadCount(data, field, lowest, highest);
}

Real ReadPositive(RecordReader& data, std::string_view field) {
  const Real value = data.ReadReal();
  if (!(value > 0)) data.Fail(std::string(field) + " must be greater than 0");
  return value;
}

}  // namespace

void ReadTitleAndControl(RunContext& ctx) {
  InputData& in = ctx.in;
  RecordReader& data = ctx.data;
  in.TITLE = data.ReadTitle();

  data.BeginRecord("2 (NINC LSO NUNIT)");
  in.NINC = ReadCount(data, "NINC", 1, kMaxIncrements);
  in.LSO = data.ReadInt();
  in.NUNIT = data.ReadInt();
  SetUnitLabels(ctx);

  data.BeginRecord("3 (METHODTZ METHODQW)");
  in.METHODTZ = data.ReadInt();
  in.METHODQW = data.ReadInt();
  EchoTitle(ctx);
}

void ReadUserTzCurves(RunContext& ctx) {
  TzCurveStore& tz = ctx.in.tz;
  RecordReader& data = ctx.data;
  // The walk looks every depth up in this set, so it may not be empty.
  tz.NTZ = ReadCountRecord(data, "4 (NTZ)", "NTZ", 1, kMaxUserTzCurves);
  for (Int k = 1; k <= tz.NTZ; ++k) {
    data.BeginRecord(Numbered("4", "T-Z CURVE", k));
    tz.CRVNO[k] = data.ReadInt();
    tz.XTZ[k] = data.ReadReal();
    tz.NPTZ[k] = ReadCount(data, "NPTZ", 1, kMaxTzPoints);
    for (Int j = 1; j <= tz.NPTZ[k]; ++j) {
      data.BeginRecord(Numbered("4", "T-Z CURVE " + std::to_string(k) + ", POINT", j));
      tz.T[k][j] = data.ReadReal();
      tz.Z[k][j] = data.ReadReal();
    }
  }
}

void ReadUserQwCurve(RunContext& ctx) {
  InputData& in = ctx.in;
  RecordReader& data = ctx.data;
  in.NQW = ReadCountRecord(data, "5 (NQW)", "NQW", 0, kMaxQwPoints);
  data.BeginRecord("5 (QTIP WTIP PAIRS)");
  for (Int j = 1; j <= in.NQW; ++j) {
    in.QTIP[j] = data.ReadReal();
    in.WTIP[j] = data.ReadReal();
  }
  data.EndRecord();
}

void ReadSoilLayers(RunContext& ctx) {
  InputData& in = ctx.in;
  RecordReader& data = ctx.data;
  // Generated curves need a soil profile to interpolate in.
  in.NLAYER = ReadCountRecord(data, "6 (NLAYER)", "NLAYER", 1, kMaxLayers);
  EchoLayerHeading(ctx);
  for (Int layer = 1; layer <= in.NLAYER; ++layer) {
    data.BeginRecord(Numbered("6", "LAYER", layer));
    in.LAYNO[layer] = data.ReadInt();
    in.KSOIL[layer] = data.ReadInt();
    if (in.KSOIL[layer] < 1 || in.KSOIL[layer] > 6) {
      data.Fail("soil type KSOIL = " + std::to_string(in.KSOIL[layer]) + " is outside 1..6");
    }
    in.XTOP[layer] = data.ReadReal();
    in.XBOT[layer] = data.ReadReal();
    EchoLayer(ctx, layer);
  }

  // Two rows per layer, at its top and at its bottom; the unit-weight
  // profile shares their depths.
  in.NSTR = 2 * in.NLAYER;
  for (Int row = 1; row <= in.NSTR; ++row) {
    const Int layer = (row + 1) / 2;
    data.BeginRecord(Numbered("6", "PROPERTY ROW", row));
    in.XSTR[row] = row % 2 == 1 ? in.XTOP[layer] : in.XBOT[layer];
    in.XG1[row] = in.XSTR[row];
    in.GAM1[row] = data.ReadReal();
    in.C1[row] = data.ReadReal();
    in.PHI1[row] = data.ReadReal();
    in.EE50[row] = data.ReadReal();
    in.BLOW[row] = data.ReadReal();
    in.ZPEAK[row] = data.ReadReal();
    in.TRES[row] = data.ReadReal();
    in.USIDE[row] = data.ReadReal();
    in.UTIP[row] = data.ReadReal();
  }
  EchoPropertyRows(ctx);
}

void ReadPileRecords(RunContext& ctx) {
  InputData& in = ctx.in;
  RecordReader& data = ctx.data;
  // The stiffness is interpolated between two rows at least, and the walk
  // divides by it.
  in.NAE = ReadCountRecord(data, "7 (NAE)", "NAE", 0, kMaxAePoints);
  data.BeginRecord("7 (AEPILE XAE PAIRS)");
  for (Int point = 1; point <= in.NAE; ++point) {
    in.AEPILE[point] = ReadPositive(data, "AEPILE " + std::to_string(point));
    in.XAE[point] = data.ReadReal();
  }
  data.EndRecord();
  if (in.NAE < 2) {
    data.Fail("NAE = " + std::to_string(in.NAE) +
              ": the AE table needs at least 2 points, from the pile head to the tip");
  }

  data.BeginRecord("8 (TOL PLEN HEAD DIAM TIPAREA)");
  in.TOL = data.ReadReal();
  in.PLEN = ReadPositive(data, "PLEN");
  in.HEAD = data.ReadReal();
  in.DIAM = data.ReadReal();
  in.TIPAREA = data.ReadReal();
  EchoPileRecords(ctx);
}

void ReadLoadingRecords(RunContext& ctx) {
  InputData& in = ctx.in;
  RecordReader& data = ctx.data;
  in.NTIPMV = ReadCountRecord(data, "9 (NTIPMV)", "NTIPMV", 0, kMaxTipMovements);
  if (in.NTIPMV > 0) {
    data.BeginRecord("9 (TIPMV)");
    for (Int n = 1; n <= in.NTIPMV; ++n) in.TIPMV[n] = data.ReadReal();
  }

  in.NLOAD = ReadCountRecord(data, "10 (NLOAD)", "NLOAD", 0, kMaxLoads);
  for (Int n = 1; n <= in.NLOAD; ++n) {
    data.BeginRecord(Numbered("10", "PLOAD", n));
    in.PLOAD[n] = data.ReadReal();
  }

  // The default series depends on the signs of the loads.
  BuildTipMovements(in);
  if (in.userTipMovements) EchoTipMovements(ctx);
  if (in.NLOAD > 0) EchoHeadLoads(ctx);
}

void ReadSettlementRecord(RunContext& ctx) {
  InputData& in = ctx.in;
  RecordReader& data = ctx.data;
  in.NSET = ReadCountRecord(data, "11 (NSET)", "NSET", 0, kMaxSettlementPoints);
  for (Int n = 1; n <= in.NSET; ++n) {
    data.BeginRecord(Numbered("11", "SETTLEMENT ROW", n));
    in.SETX[n] = data.ReadReal();
    in.SETV[n] = data.ReadReal();
  }
  if (in.NSET > 0) EchoSettlementProfile(ctx);
}

void ReadTzModificationRecord(RunContext& ctx) {
  InputData& in = ctx.in;
  RecordReader& data = ctx.data;
  data.BeginRecord("12 (KMODTZ)");
  in.KMODTZ = data.ReadInt();
  if (in.KMODTZ <= 0) return;
  in.NMOD = ReadCountRecord(data, "12 (NMOD)", "NMOD", 0, kMaxModRows);
  for (Int n = 1; n <= in.NMOD; ++n) {
    data.BeginRecord(Numbered("12", "MODIFICATION ROW", n));
    in.MODX[n] = data.ReadReal();
    in.MODT[n] = data.ReadReal();
    in.MODZ[n] = data.ReadReal();
  }
  EchoTzModification(ctx);
}

void ReadQwModificationRecord(RunContext& ctx) {
  InputData& in = ctx.in;
  RecordReader& data = ctx.data;
  data.BeginRecord("13 (KMODQW)");
  in.KMODQW = data.ReadInt();
  if (in.KMODQW <= 0) return;
  data.BeginRecord("13 (QMULT WMULT)");
  in.QMULT = data.ReadReal();
  in.WMULT = data.ReadReal();
  EchoQwModification(ctx);
}

}  // namespace korvan
