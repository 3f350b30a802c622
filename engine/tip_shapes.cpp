#include "tip_shapes.h"

#include <cmath>

#include "engine_constants.h"

namespace korvan {

namespace {

using Ratios = ShapeRatios;

constexpr Ratios kDrilledShaftTipMovementRatios = {0,     0.005f, 0.01f, 0.015f, 0.025f,
                                                   0.03f, 0.04f,  0.05f, 0.07f,  0.1f};
constexpr Ratios kDrilledShaftClayTipRatios = {0,     0.395f, 0.56f, 0.70f, 0.865f,
                                               0.90f, 0.95f,  0.97f, 0.98f, 0.99f};
constexpr Ratios kDrilledShaftSandTipRatios = {0,     0.2f,  0.345f, 0.485f, 0.64f,
                                               0.73f, 0.83f, 1.015f, 1.195f, 1.46f};
constexpr Ratios kApiTipMovementRatios = {0,      0.0005f, 0.001f, 0.002f, 0.013f,
                                          0.042f, 0.073f,  0.1f,   0.15f,  0.2f};
constexpr Ratios kApiTipLoadRatios = {0, 0.0625f, 0.125f, 0.25f, 0.5f, 0.75f, 0.9f, 1, 1, 1};
constexpr Ratios kMosherTipMovementsInches = {0,    0.0001f, 0.005f, 0.01f, 0.05f,
                                              0.1f, 0.2f,    0.5f,   0.75f, 1.0f};

// Curves evaluated in inches and kips are converted back to the SI units of
// the data.
void ConvertInchesAndKipsToSi(CurvePoints& points) {
  for (Int j = 0; j < kGeneratedCurvePoints; ++j) {
    points.z[j] *= kMetresPerInch;
    points.t[j] *= kKilonewtonsPerKip;
  }
}

}  // namespace

CurvePoints CoyleReeseClayTipShape(Real qmax, Real eps50, Real diam, bool si) {
  Real w50 = 2 * eps50 * diam;
  if (si) {
    w50 /= kMetresPerInch;
    qmax /= kKilonewtonsPerKip;
  }
  CurvePoints points;
  if (w50 > 0) {
    const Real a = Real{0.5f} * qmax / std::sqrt(w50);
    // Where a sqrt(w) reaches Qmax: (Qmax / a)^2, which is 4 w50 but for its
    // last bit. A tip without resistance (a = 0) keeps the movements of 4 w50.
    const Real root = a != 0 ? qmax / a : Real{0};
    const Real wmax = a != 0 ? root * root : 4 * w50;
    for (Int j = 1; j <= 8; ++j) {
      points.z[j] = wmax * static_cast<Real>(j) / 8;
      points.t[j] = j < 8 ? a * std::sqrt(points.z[j]) : qmax;
    }
    points.z[9] = 10 * wmax;
    points.t[9] = qmax;
  } else {
    for (Int j = 1; j <= 9; ++j) points.t[j] = qmax;
  }
  if (si) ConvertInchesAndKipsToSi(points);
  return points;
}

CurvePoints DrilledShaftClayTipShape(Real qmax, Real diam) {
  return ScaledShape(kDrilledShaftTipMovementRatios, diam, kDrilledShaftClayTipRatios, qmax);
}

CurvePoints ApiTipShape(Real qmax, Real diam) {
  return ScaledShape(kApiTipMovementRatios, diam, kApiTipLoadRatios, qmax);
}

Real MosherTipExponent(Real phiE) {
  if (phiE <= 31) return 0.5f;
  if (phiE <= 38) return 0.333f;
  return 0.25f;
}

CurvePoints MosherSandTipShape(Real qmax, Real phiE, Real diam, bool si) {
  Real wc = Real{0.05f} * diam;
  if (si) {
    wc /= kMetresPerInch;
    qmax /= kKilonewtonsPerKip;
  }
  const Real n = MosherTipExponent(phiE);
  CurvePoints points;
  for (Int j = 1; j < kGeneratedCurvePoints; ++j) {
    points.z[j] = kMosherTipMovementsInches[j];
    points.t[j] = qmax * std::pow(points.z[j] / wc, n);
  }
  if (si) ConvertInchesAndKipsToSi(points);
  return points;
}

CurvePoints DrilledShaftSandTipShape(Real qmax, Real diam) {
  return ScaledShape(kDrilledShaftTipMovementRatios, diam, kDrilledShaftSandTipRatios, qmax);
}

}  // namespace korvan
