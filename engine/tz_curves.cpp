#include "tz_curves.h"

#include <cmath>
#include <string>

#include "profile_lookups.h"
#include "record_reader.h"
#include "tz_shapes.h"

namespace korvan {

namespace {

// The bottom curve of a layer lies this far (in the data's length unit)
// above the layer's bottom, so that it takes the layer's own properties.
constexpr Real kBottomCurveOffset = 0.01f;

// The store holds one curve per increment; a larger set is refused before
// anything is built.
void CheckCurveCount(std::size_t count) {
  if (count > static_cast<std::size_t>(kMaxTzCurves)) {
    throw DataFileError("the pile needs " + std::to_string(count) +
                        " t-z curves; the engine stores at most " + std::to_string(kMaxTzCurves));
  }
}

bool IsSandType(Int type) {
  return type == 2 || type == 4 || type == 6;
}

// The properties of the curve at x, looked up in a fixed order for every
// type, so that a profile ending above x always fails first on USIDE.
bool LookUpProperties(RunContext& ctx, Real x, Int type, TzCurveProperties& props) {
  const InputData& in = ctx.in;
  props.tmax = ProfileValue(ctx, in.USIDE, x, kSideFrictionProfileShort, kStrengthTail);
  if (ctx.Failed()) return false;
  // Sand curves take the friction angle from the blow count when PHI1 gives
  // none (FrictionAngleAt makes the PHI1 lookup and then the BLOW lookup).
  props.phi = IsSandType(type)
                  ? FrictionAngleAt(ctx, x)
                  : ProfileValue(ctx, in.PHI1, x, kStrengthTypeProfileShort, kStrengthTail);
  if (ctx.Failed()) return false;
  props.zp0 = ProfileValue(ctx, in.ZPEAK, x, kStrengthTypeProfileShort, kStrengthTail);
  if (ctx.Failed()) return false;
  props.r0 = ProfileValue(ctx, in.TRES, x, kStrengthTypeProfileShort, kStrengthTail);
  return !ctx.Failed();
}

}  // namespace

CurveSites ReportSetSites(const InputData& in) {
  CurveSites sites;
  for (Int i = 1; i <= in.NLAYER && i <= kMaxLayers; ++i) {
    const Real top = in.XTOP[i];
    const Real bottom = in.XBOT[i];
    const Real middle = (top + bottom) / 2;
    const Real lowest = bottom - kBottomCurveOffset;
    // The three-quarter depth is summed left to right, the middle plus the
    // bottom less the offset: grouping the offset with the bottom first can
    // change its last bit.
    const Real threeQuarter = (middle + bottom - kBottomCurveOffset) / 2;
    for (Real depth : {top, (top + middle) / 2, middle, threeQuarter, lowest}) {
      sites.depths.push_back(depth);
      sites.types.push_back(in.KSOIL[i]);
    }
  }
  return sites;
}

CurveSites AnalysisSetSites(const InputData& in) {
  CurveSites sites;
  if (in.NINC > 0) CheckCurveCount(static_cast<std::size_t>(in.NINC));
  for (Int k = 1; k <= in.NINC; ++k) {
    const Real depth =
        in.HEAD + (static_cast<Real>(k) - Real{0.5f}) * in.PLEN / static_cast<Real>(in.NINC);
    sites.depths.push_back(depth);
    sites.types.push_back(AnalysisCurveType(in, depth));
  }
  return sites;
}

Int AnalysisCurveType(const InputData& in, Real x) {
  const Int nlayer = StoredCount(in.NLAYER, kMaxLayers);
  if (nlayer < 1 || x <= in.XBOT[1]) return in.KSOIL[1];
  if (x >= in.XTOP[nlayer]) return in.KSOIL[nlayer];
  for (Int i = 1; i <= nlayer; ++i) {
    if (x <= in.XBOT[i]) return in.KSOIL[i];
  }
  return in.KSOIL[1];
}

void GenerateTzCurves(RunContext& ctx, const CurveSites& sites) {
  TzCurveStore& tz = ctx.in.tz;
  const auto count = sites.depths.size();
  CheckCurveCount(count);
  tz.NTZ = static_cast<Int>(count);
  for (Int k = 1; k <= tz.NTZ; ++k) {
    // Depths so large that their sums overflow are no depths of a pile.
    if (!std::isfinite(sites.depths[k - 1])) {
      throw DataFileError("the layer or pile depths are too large for a t-z curve depth");
    }
    tz.XTZ[k] = sites.depths[k - 1];
    tz.KTZ[k] = sites.types[k - 1];
  }
  for (Int k = 1; k <= tz.NTZ; ++k) {
    GenerateTzCurve(ctx, k);
    if (ctx.Failed()) return;
  }
}

void GenerateTzCurve(RunContext& ctx, Int k) {
  InputData& in = ctx.in;
  TzCurveStore& tz = in.tz;
  const Real x = tz.XTZ[k];
  const Int type = tz.KTZ[k];
  const bool si = in.NUNIT != 1;

  TzCurveProperties props;
  CurvePoints points;
  if (x < in.XTOP[1]) {
    // Above the ground the pile meets no soil: the zero curve, whatever the
    // type of the first layer.
    points = CoyleReeseClayShape(0, si);
  } else {
    if (!LookUpProperties(ctx, x, type, props)) return;
    if (!TzShapeOfType(type, props, in.DIAM, si, points)) {
      throw DataFileError("soil type " + std::to_string(type) + " is not one of 1 to 6");
    }
    if (!IsFinite(points)) {
      throw DataFileError("the soil data give no finite t-z curve at depth " + std::to_string(x));
    }
  }
  tz.CRVNO[k] = k;
  tz.NPTZ[k] = kGeneratedCurvePoints;
  tz.TMAXTZ[k] = props.tmax;
  tz.PHITZ[k] = props.phi;
  for (Int j = 1; j <= kGeneratedCurvePoints; ++j) {
    tz.Z[k][j] = points.z[j - 1];
    tz.T[k][j] = points.t[j - 1];
  }
}

}  // namespace korvan
