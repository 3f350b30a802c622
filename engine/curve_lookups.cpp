#include "curve_lookups.h"

namespace korvan {

namespace {

Real Interpolate(Real x0, Real v0, Real x1, Real v1, Real x) {
  return v0 + (x - x0) * (v1 - v0) / (x1 - x0);
}

Real TzCurveValue(const TzCurveStore& tz, Int k, Real w) {
  return CurveValue(tz.Z[k].data(), tz.T[k].data(), StoredCount(tz.NPTZ[k], kMaxTzPoints), w);
}

}  // namespace

Real CurveValue(const Real* z, const Real* t, Int n, Real w) {
  for (Int j = 1; j <= n; ++j) {
    if (w < z[j]) {
      // Below the first point the curve starts from the origin.
      const Real z0 = j == 1 ? Real(0) : z[j - 1];
      const Real t0 = j == 1 ? Real(0) : t[j - 1];
      return Interpolate(z0, t0, z[j], t[j], w);
    }
    if (w == z[j] || j == n) return t[j];
  }
  return 0;
}

TzDepthBracket LocateTzDepth(const TzCurveStore& tz, Real x) {
  const Int ntz = StoredCount(tz.NTZ, kMaxTzCurves);
  for (Int k = 1; k <= ntz; ++k) {
    // A depth above the first curve (only by rounding in practice) is read
    // from the first curve, since no curve lies above it.
    if (x < tz.XTZ[k] && k > 1) return {k - 1, k, x};
    if (x <= tz.XTZ[k] || k == ntz) return {k, k, x};
  }
  return {};
}

Real TzValueInBracket(const TzCurveStore& tz, const TzDepthBracket& bracket, Real w) {
  if (bracket.lower == 0) return 0;
  if (bracket.upper == bracket.lower) return TzCurveValue(tz, bracket.lower, w);
  const Real t1 = TzCurveValue(tz, bracket.upper, w);
  const Real t2 = TzCurveValue(tz, bracket.lower, w);
  return t1 + (bracket.depth - tz.XTZ[bracket.upper]) * (t2 - t1) /
                  (tz.XTZ[bracket.lower] - tz.XTZ[bracket.upper]);
}

Real TzValueAtDepth(const TzCurveStore& tz, Real x, Real w) {
  return TzValueInBracket(tz, LocateTzDepth(tz, x), w);
}

Real TipLoadAt(const InputData& in, Real w) {
  const Int nqw = StoredCount(in.NQW, kMaxQwPoints);
  if (nqw == 0) return 0;
  for (Int j = 1; j <= nqw; ++j) {
    if (in.WTIP[j] >= w) {
      const Real w0 = j == 1 ? Real(0) : in.WTIP[j - 1];
      const Real q0 = j == 1 ? Real(0) : in.QTIP[j - 1];
      // Two points at one movement: the load of the later point, rather
      // than a division by zero.
      if (in.WTIP[j] == w0) return in.QTIP[j];
      return Interpolate(w0, q0, in.WTIP[j], in.QTIP[j], w);
    }
  }
  return in.QTIP[nqw];
}

Real AxialStiffnessAt(const InputData& in, Real s) {
  const Int nae = StoredCount(in.NAE, kMaxAePoints);
  if (nae == 0) return 0;
  if (nae == 1) return in.AEPILE[1];
  Int k = 2;
  while (k <= nae && in.XAE[k] < s) ++k;
  // Below the deepest row the deepest row's AE holds.
  if (k > nae) return in.AEPILE[nae];
  // Two rows at one depth: that depth takes the upper row's AE.
  if (in.XAE[k] == in.XAE[k - 1]) return in.AEPILE[k - 1];
  return in.AEPILE[k - 1] +
         (in.AEPILE[k] - in.AEPILE[k - 1]) * (s - in.XAE[k - 1]) / (in.XAE[k] - in.XAE[k - 1]);
}

Real SettlementAt(const InputData& in, Real x) {
  const Int nset = StoredCount(in.NSET, kMaxSettlementPoints);
  if (nset == 0 || x < in.SETX[1] || x > in.SETX[nset]) return 0;
  // A single row covers only its own depth.
  if (nset == 1) return in.SETV[1];
  Int k = 2;
  while (k < nset && x > in.SETX[k]) ++k;
  if (x == in.SETX[nset]) return in.SETV[k];
  if (x == in.SETX[k]) {
    return in.SETX[k + 1] == in.SETX[k] ? (in.SETV[k] + in.SETV[k + 1]) / 2 : in.SETV[k];
  }
  return Interpolate(in.SETX[k - 1], in.SETV[k - 1], in.SETX[k], in.SETV[k], x);
}

Multipliers MultipliersAt(const InputData& in, Real x) {
  const Int nmod = StoredCount(in.NMOD, kMaxModRows);
  if (nmod < 2 || x < in.MODX[1]) return {};
  Int k = 2;
  while (k <= nmod && x > in.MODX[k]) ++k;
  if (k > nmod) return {};
  auto row = [&](Int r) { return Multipliers{in.MODT[r], in.MODZ[r]}; };
  if (x == in.MODX[nmod]) return row(k);
  // Of two rows at one depth, the second (lower) one applies there.
  if (x == in.MODX[k]) return in.MODX[k + 1] == in.MODX[k] ? row(k + 1) : row(k);
  return {Interpolate(in.MODX[k - 1], in.MODT[k - 1], in.MODX[k], in.MODT[k], x),
          Interpolate(in.MODX[k - 1], in.MODZ[k - 1], in.MODX[k], in.MODZ[k], x)};
}

}  // namespace korvan
