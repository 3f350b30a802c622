#include "profile_lookups.h"

#include <array>

namespace korvan {

namespace {

// One tabulated correlation of friction angle against blow count.
template <std::size_t N>
struct BlowCountTable {
  std::array<Real, N> blows;
  std::array<Real, N> angles;

  // Linear interpolation between the bracketing blow counts; held at the
  // table's ends (the rules below only ask inside each table's range).
  Real At(Real n) const {
    if (n <= blows.front()) return angles.front();
    for (std::size_t i = 1; i < N; ++i) {
      if (n <= blows[i]) {
        return angles[i - 1] +
               (n - blows[i - 1]) * (angles[i] - angles[i - 1]) / (blows[i] - blows[i - 1]);
      }
    }
    return angles.back();
  }
};

constexpr BlowCountTable<7> kCurveA{{0, 2, 4, 6, 10, 15, 20}, {0, 32, 34, 36, 38, 42, 45}};
constexpr BlowCountTable<11> kCurveB{{6, 10, 15, 20, 25, 30, 35, 40, 45, 50, 55},
                                     {30, 32, 34, 36, 37, 39, 40, 41, 42, 44, 45}};
constexpr BlowCountTable<17> kCurveC{
    {10, 15, 20, 25, 30, 35, 40, 45, 50, 55, 60, 65, 70, 75, 80, 85, 90},
    {31, 32, 34, 35, 36, 36, 37, 38, 39, 39, 40, 41, 42, 42, 43, 44, 44}};

// The blow-count fallback: PHI1 gave no friction angle, so BLOW is looked up
// at the same depth (code 8 when the profile ends above it).
Real FrictionAngleFromBlowCount(RunContext& ctx, Real x) {
  const Real n = ProfileValue(ctx, ctx.in.BLOW, x, kStrengthTypeProfileShort, kStrengthTail);
  if (ctx.Failed()) return 0;
  return n > 0 ? PhiFromBlowCount(n, kBlowCountCorrelationP) : Real{0};
}

}  // namespace

void WriteProfileWarning(RunContext& ctx, Real x, std::string_view tail) {
  ctx.report.Write("");
  ctx.report.Write(R"(29X, "**** WARNING ****")");
  // The slash belongs to the text: the tail follows on the same line.
  ctx.report.Write(R"(5X, "THE VALUE OF X =", E9.2, "IS BEYOND THE EXTENT OF/", 5X, A)", {x, tail});
}

Real ProfileValue(RunContext& ctx, const Array1<Real, kMaxStrRows>& V, Real x, Int code,
                  std::string_view tail) {
  const InputData& in = ctx.in;
  const Int nstr = StoredCount(in.NSTR, kMaxStrRows);
  Int k = 2;
  while (k <= nstr && !(in.XSTR[k] > x)) ++k;
  if (k > nstr) {
    // An empty profile reaches no depth at all.
    if (nstr < 1 || in.XSTR[nstr] < x) {
      if (code == kSideFrictionProfileShort) ctx.report.WriteFree({in.NSTR, in.XSTR[nstr]});
      WriteProfileWarning(ctx, x, tail);
      ctx.result = code;
      return 0;
    }
    k = nstr;
  }
  // A one-row profile is constant down to its row.
  if (k < 2) return V[k];
  const Real d = in.XSTR[k] - in.XSTR[k - 1];
  // Two rows at one depth (a layer of no thickness) bracket nothing to
  // interpolate in: their mean is taken.
  if (!(d > 0)) return (V[k - 1] + V[k]) / 2;
  return V[k - 1] + (x - in.XSTR[k - 1]) * (V[k] - V[k - 1]) / d;
}

Real FrictionAngleAt(RunContext& ctx, Real x) {
  const Real phi = ProfileValue(ctx, ctx.in.PHI1, x, kStrengthTypeProfileShort, kStrengthTail);
  if (ctx.Failed() || !(phi < Real{1e-10f})) return phi;
  return FrictionAngleFromBlowCount(ctx, x);
}

Real PhiFromBlowCount(Real N, Real P) {
  const Real a = kCurveA.At(N);
  const Real b = kCurveB.At(N);
  const Real c = kCurveC.At(N);
  if (P > 20 && P < 40) {
    if (N <= 6) return 30;
    if (N < 10) return 30 + Real{0.5f} * (N - 6);
    if (N <= 55) return b + (P - 20) / 20 * (c - b);
    if (N < 90) return c + (40 - P) / 20 * (45 - c);
    // N = 90 itself falls between two rules; it joins the rule above it, as
    // it does for P <= 20.
    return 50;
  }
  if (P >= 40) {
    // Outside 10 < N < 90 curve C is held at its limits (31 and 44).
    return c;
  }
  if (N < 6) return a - P / 20 * (a - 30);
  if (N < 20) return a - P / 20 * (a - b);
  if (N < 55) return b + (20 - P) / 20 * (45 - b);
  if (N == 55) return 45 + (P - 20) / 20 * (39 - 45);
  if (N < 90) return c + (40 - P) / 20 * (45 - c);
  return 50;
}

Real MeanUnitWeight(RunContext& ctx, Real x) {
  const InputData& in = ctx.in;
  if (x < in.XTOP[1]) return 0;
  const Int nstr = StoredCount(in.NSTR, kMaxStrRows);
  Real sum = 0;
  if (nstr >= 2) {
    if (x == in.XTOP[1]) {
      // No thickness to average over: the unit weight at the top.
      for (Int k = 1; k <= nstr; ++k) {
        if (in.GAM1[k] > 0) return in.GAM1[k];
      }
      return in.GAM1[nstr];
    }
    const Real h = x - in.XTOP[1];
    for (Int k = 2; k <= nstr; ++k) {
      const Real top = in.XG1[k - 1];
      const Real thickness = in.XG1[k] - top;
      if (in.XG1[k] <= x) {
        sum += Real{0.5f} * (in.GAM1[k - 1] + in.GAM1[k]) * thickness / h;
        continue;
      }
      if (thickness > 0 && x > top) {
        const Real g = in.GAM1[k - 1] + (x - top) * (in.GAM1[k] - in.GAM1[k - 1]) / thickness;
        sum += Real{0.5f} * (in.GAM1[k - 1] + g) * (x - top) / h;
      }
      return sum;
    }
  }
  if (nstr < 1 || in.XG1[nstr] < x) {
    WriteProfileWarning(ctx, x, kUnitWeightTail);
    ctx.result = kUnitWeightProfileShort;
    return 0;
  }
  return sum;
}

}  // namespace korvan
