#include "tz_shapes.h"

#include <cmath>

#include "engine_constants.h"

namespace korvan {

namespace {

using Ratios = ShapeRatios;

// The movements of the clay and sand curves of driven piles, in inches.
constexpr Ratios kDrivenPileMovementsInches = {0,     0.01f, 0.02f, 0.04f, 0.06f,
                                               0.08f, 0.12f, 0.16f, 0.5f,  10};
constexpr Ratios kCoyleReeseClayRatios = {0, 0.18f, 0.38f, 0.79f, 0.97f,
                                          1, 0.97f, 0.93f, 0.93f, 0.93f};

constexpr Ratios kDrilledShaftMovementRatios = {0,      0.001f, 0.002f, 0.003f, 0.005f,
                                                0.006f, 0.008f, 0.012f, 0.016f, 0.1f};
constexpr Ratios kDrilledShaftClayRatios = {0,      0.51f,  0.72f,  0.90f, 0.925f,
                                            0.945f, 0.955f, 0.925f, 0.90f, 0.835f};
constexpr Ratios kDrilledShaftSandRatios = {0,     0.335f, 0.58f,  0.72f, 0.86f,
                                            0.91f, 0.95f,  0.965f, 0.96f, 0.95f};

constexpr Ratios kApiMovementRatios = {0, 0.16f, 0.31f, 0.57f, 0.80f, 1, 2, 3, 5, 20};
constexpr Ratios kApiRisingRatios = {0, 0.30f, 0.50f, 0.75f, 0.90f, 1, 1, 1, 1, 1};

Real MovementInDataUnit(Real inches, bool si) {
  return si ? inches * kMetresPerInch : inches;
}

Real ApiPeakMovement(Real zp0, Real diam) {
  return zp0 > 0 ? zp0 : Real{0.01f} * diam;
}

}  // namespace

bool IsFinite(const CurvePoints& points) {
  for (Int j = 0; j < kGeneratedCurvePoints; ++j) {
    if (!std::isfinite(points.z[j]) || !std::isfinite(points.t[j])) return false;
  }
  return true;
}

CurvePoints CoyleReeseClayShape(Real tmax, bool si) {
  CurvePoints points;
  for (Int j = 0; j < kGeneratedCurvePoints; ++j) {
    points.z[j] = MovementInDataUnit(kDrivenPileMovementsInches[j], si);
    points.t[j] = tmax * kCoyleReeseClayRatios[j];
  }
  return points;
}

Real MosherInitialStiffness(Real phi) {
  if (phi <= 28) return 6000;
  if (phi <= 31) return 6000 + Real{1333.3f} * (phi - 28);
  if (phi <= 32) return 10000;
  if (phi <= 34) return 10000 + 2000 * (phi - 32);
  if (phi <= 35) return 14000;
  if (phi <= 38) return 14000 + Real{1333.3f} * (phi - 35);
  return 18000;
}

CurvePoints MosherSandShape(Real tmax, Real phi, bool si) {
  const Real e = MosherInitialStiffness(phi);
  // The hyperbola is odd in tmax: a negative side friction mirrors the curve
  // instead of meeting a pole, and no side friction gives no load transfer.
  const Real magnitude = std::fabs(tmax);
  const Real sign = tmax < 0 ? Real{-1} : Real{1};
  CurvePoints points;
  for (Int j = 0; j < kGeneratedCurvePoints; ++j) {
    const Real z = kDrivenPileMovementsInches[j];
    points.z[j] = MovementInDataUnit(z, si);
    if (j == 0 || magnitude == 0) continue;  // (0, 0), or no side friction
    Real t;
    if (si) {
      t = z / (z / (kPsfPerKpa * magnitude) + 1 / e) / kPsfPerKpa;
    } else {
      t = z / (z / magnitude + kSquareInchesPerSquareFoot / e);
    }
    points.t[j] = sign * t;
  }
  return points;
}

CurvePoints DrilledShaftClayShape(Real tmax, Real diam) {
  return ScaledShape(kDrilledShaftMovementRatios, diam, kDrilledShaftClayRatios, tmax);
}

CurvePoints DrilledShaftSandShape(Real tmax, Real diam) {
  return ScaledShape(kDrilledShaftMovementRatios, diam, kDrilledShaftSandRatios, tmax);
}

CurvePoints ApiClayShape(Real tmax, Real zp0, Real r0, Real diam) {
  const Real r = r0 > 0 ? r0 : Real{0.9f};
  const Ratios softening = {0, 0.30f, 0.50f, 0.75f, 0.90f, 1, r, r, r, r};
  return ScaledShape(kApiMovementRatios, ApiPeakMovement(zp0, diam), softening, tmax);
}

CurvePoints ApiSandShape(Real tmax, Real zp0, Real diam) {
  return ScaledShape(kApiMovementRatios, ApiPeakMovement(zp0, diam), kApiRisingRatios, tmax);
}

bool TzShapeOfType(Int type, const TzCurveProperties& props, Real diam, bool si,
                   CurvePoints& points) {
  switch (type) {
    case 1:
      points = CoyleReeseClayShape(props.tmax, si);
      return true;
    case 2:
      points = MosherSandShape(props.tmax, props.phi, si);
      return true;
    case 3:
      points = DrilledShaftClayShape(props.tmax, diam);
      return true;
    case 4:
      points = DrilledShaftSandShape(props.tmax, diam);
      return true;
    case 5:
      points = ApiClayShape(props.tmax, props.zp0, props.r0, diam);
      return true;
    case 6:
      points = ApiSandShape(props.tmax, props.zp0, diam);
      return true;
    default:
      return false;
  }
}

CurvePoints ScaledShape(const ShapeRatios& zRatios, Real zScale, const ShapeRatios& tRatios,
                        Real tScale) {
  CurvePoints points;
  for (Int j = 0; j < kGeneratedCurvePoints; ++j) {
    points.z[j] = zScale * zRatios[j];
    points.t[j] = tScale * tRatios[j];
  }
  return points;
}

}  // namespace korvan
