#include "modifications.h"

#include "curve_lookups.h"

namespace korvan {

void ApplyTzModification(RunContext& ctx) {
  InputData& in = ctx.in;
  if (in.KMODTZ <= 0) return;
  TzCurveStore& tz = in.tz;
  const Int ntz = StoredCount(tz.NTZ, kMaxTzCurves);
  for (Int k = 1; k <= ntz; ++k) {
    const Multipliers factor = MultipliersAt(in, tz.XTZ[k]);
    const Int npts = StoredCount(tz.NPTZ[k], kMaxTzPoints);
    for (Int j = 1; j <= npts; ++j) {
      tz.Z[k][j] *= factor.z;
      tz.T[k][j] *= factor.t;
    }
  }
}

void ApplyQwModification(RunContext& ctx) {
  InputData& in = ctx.in;
  if (in.KMODQW < 1) return;
  const Int nqw = StoredCount(in.NQW, kMaxQwPoints);
  for (Int j = 1; j <= nqw; ++j) {
    in.QTIP[j] *= in.QMULT;
    in.WTIP[j] *= in.WMULT;
  }
}

}  // namespace korvan
