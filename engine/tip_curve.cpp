#include "tip_curve.h"

#include <cmath>
#include <string>

#include "engine_constants.h"
#include "profile_lookups.h"
#include "record_reader.h"
#include "tip_shapes.h"

namespace korvan {

namespace {

// Unit tip resistance of clay: the profile's UTIP, or 9 cu when it gives none.
Real ClayUnitTipResistance(Real utip, Real cu) {
  return utip > Real{1e-5f} ? utip : 9 * cu;
}

bool ClayTip(RunContext& ctx, Int type, Real x, CurvePoints& points) {
  const InputData& in = ctx.in;
  // Types 1 and 5 look up the strain first; its lookup carries code 5 and
  // the strength lookup that follows code 7. Type 3 starts with the strength.
  Real eps50 = 0;
  Int strengthCode = kStrengthProfileShort;
  std::string_view strengthTail = kStrengthTail;
  if (type != 3) {
    eps50 = ProfileValue(ctx, in.EE50, x, kStrengthProfileShort, kStrengthTail);
    if (ctx.Failed()) return false;
    strengthCode = kTipResistanceProfileShort;
    strengthTail = kMaxLoadTransferTail;
  }
  const Real cu = ProfileValue(ctx, in.C1, x, strengthCode, strengthTail);
  if (ctx.Failed()) return false;
  const Real utip = ProfileValue(ctx, in.UTIP, x, kTipResistanceProfileShort, kMaxLoadTransferTail);
  if (ctx.Failed()) return false;
  const Real qmax = ClayUnitTipResistance(utip, cu) * in.TIPAREA;
  if (type == 1) {
    points = CoyleReeseClayTipShape(qmax, eps50, in.DIAM, in.NUNIT != 1);
  } else if (type == 3) {
    points = DrilledShaftClayTipShape(qmax, in.DIAM);
  } else {
    points = ApiTipShape(qmax, in.DIAM);
  }
  return true;
}

bool SandTip(RunContext& ctx, Int type, Real x, CurvePoints& points) {
  const InputData& in = ctx.in;
  const Real phi = FrictionAngleAt(ctx, x);
  if (ctx.Failed()) return false;
  const Real meanUnitWeight = MeanUnitWeight(ctx, x);
  if (ctx.Failed()) return false;
  Real q = ProfileValue(ctx, in.UTIP, x, kTipResistanceProfileShort, kMaxLoadTransferTail);
  if (ctx.Failed()) return false;
  if (!(q > Real{0.0001f})) q = meanUnitWeight * x * BearingCapacityFactorNq(phi);
  const Real qmax = q * in.TIPAREA;
  if (type == 2) {
    // The exponent follows the friction angle of the deepest analysis t-z
    // curve; user t-z curves carry none.
    const TzCurveStore& tz = in.tz;
    const Real phiE =
        in.METHODTZ != 2 && tz.NTZ >= 1 && tz.NTZ <= kMaxTzCurves ? tz.PHITZ[tz.NTZ] : Real{0};
    points = MosherSandTipShape(qmax, phiE, in.DIAM, in.NUNIT != 1);
  } else if (type == 4) {
    points = DrilledShaftSandTipShape(qmax, in.DIAM);
  } else {
    points = ApiTipShape(qmax, in.DIAM);
  }
  return true;
}

}  // namespace

Int TipLayer(const InputData& in, Real x) {
  const Int nlayer = StoredCount(in.NLAYER, kMaxLayers);
  if (nlayer < 1) return 0;
  if (x <= in.XBOT[1]) return 1;
  for (Int i = 2; i <= nlayer; ++i) {
    if (x <= in.XBOT[i]) return i;
  }
  return 0;
}

Real BearingCapacityFactorNq(Real phi) {
  constexpr Real kRadiansPerDegree = kPi / 180;
  const Real root = std::tan((45 + phi / 2) * kRadiansPerDegree);
  return root * root * std::exp(kPi * std::tan(phi * kRadiansPerDegree));
}

void GenerateTipCurve(RunContext& ctx) {
  InputData& in = ctx.in;
  const Real x = in.PLEN + in.HEAD;
  if (!std::isfinite(x)) throw DataFileError("the pile length and head coordinate are too large");
  const Int layer = TipLayer(in, x);
  if (layer == 0) {
    // Without a soil layer at the tip no capacity can be derived; running on
    // with an unsupported tip would report settlements of a floating pile
    // the user never described.
    WriteProfileWarning(ctx, x, kStrengthTail);
    ctx.result = kStrengthProfileShort;
    return;
  }
  const Int type = in.KSOIL[layer];
  CurvePoints points;
  bool generated = false;
  switch (type) {
    case 1:
    case 3:
    case 5:
      generated = ClayTip(ctx, type, x, points);
      break;
    case 2:
    case 4:
    case 6:
      generated = SandTip(ctx, type, x, points);
      break;
    default:
      throw DataFileError("soil type " + std::to_string(type) +
                          " of the tip layer is not one of 1 to 6");
  }
  if (!generated) return;
  if (!IsFinite(points)) {
    throw DataFileError("the soil data at the pile tip give no finite tip curve");
  }
  in.NQW = kGeneratedCurvePoints;
  for (Int j = 1; j <= kGeneratedCurvePoints; ++j) {
    in.WTIP[j] = points.z[j - 1];
    in.QTIP[j] = points.t[j - 1];
  }
}

}  // namespace korvan
