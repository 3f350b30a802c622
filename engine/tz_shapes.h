// The shapes of the generated t-z curves, one function per soil type. Each
// gives the ten points of one curve, the first at the origin, from the unit
// side friction tmax at the curve's depth. Movements are in inches (English)
// or metres (SI), load transfers in the unit of tmax.
#pragma once

#include <array>

#include "data_model.h"

namespace korvan {

inline constexpr Int kGeneratedCurvePoints = 10;

struct CurvePoints {
  std::array<Real, kGeneratedCurvePoints> z{};  // movement
  std::array<Real, kGeneratedCurvePoints> t{};  // load transfer (or tip load)
};

using ShapeRatios = std::array<Real, kGeneratedCurvePoints>;

// The points (zScale * zRatios[j], tScale * tRatios[j]) of a normalised shape.
CurvePoints ScaledShape(const ShapeRatios& zRatios, Real zScale, const ShapeRatios& tRatios,
                        Real tScale);

// Type 1, driven pile in clay after Coyle and Reese; also the zero curve
// above the ground (tmax = 0).
CurvePoints CoyleReeseClayShape(Real tmax, bool si);

// Initial stiffness E (psf per inch of movement) of the sand curve for the
// friction angle phi in degrees.
Real MosherInitialStiffness(Real phi);
// Type 2, driven pile in sand after Mosher: a hyperbola evaluated in psf and
// inches.
CurvePoints MosherSandShape(Real tmax, Real phi, bool si);

// Types 3 and 4, drilled shafts: movements as fractions of the diameter.
CurvePoints DrilledShaftClayShape(Real tmax, Real diam);
CurvePoints DrilledShaftSandShape(Real tmax, Real diam);

// Types 5 and 6 after the API recommendations. zp0 and r0 are the peak
// movement and residual ratio of the profile; 0 (or less) takes the defaults
// 0.01 * diam and 0.9.
CurvePoints ApiClayShape(Real tmax, Real zp0, Real r0, Real diam);
CurvePoints ApiSandShape(Real tmax, Real zp0, Real diam);

// True when every point is a finite number.
bool IsFinite(const CurvePoints& points);

// The shape of soil type 1..6 with the properties found for one curve.
struct TzCurveProperties {
  Real tmax = 0;
  Real phi = 0;
  Real zp0 = 0;
  Real r0 = 0;
};
// False for a soil type outside 1..6.
bool TzShapeOfType(Int type, const TzCurveProperties& props, Real diam, bool si,
                   CurvePoints& points);

}  // namespace korvan
