// The shapes of the generated tip (Q-w) curves, one function per soil type.
// Each gives ten points (movement z, load t), the first at the origin, from
// the tip capacity Qmax. Movements are in inches (English) or metres (SI),
// loads in pounds or kilonewtons.
#pragma once

#include "tz_shapes.h"

namespace korvan {

// Type 1: Q = 0.5 Qmax sqrt(w / w50) up to 4 w50, Qmax beyond, evaluated in
// inches and kips. eps50 <= 0 (or no diameter) gives no w50: the tip is then
// rigid-plastic, carrying Qmax at any movement, and every point lies at w = 0.
CurvePoints CoyleReeseClayTipShape(Real qmax, Real eps50, Real diam, bool si);
// Type 3: drilled shaft in clay, movements as fractions of the diameter.
CurvePoints DrilledShaftClayTipShape(Real qmax, Real diam);
// Types 5 and 6: the API tip curve.
CurvePoints ApiTipShape(Real qmax, Real diam);
// The exponent of the type 2 power curve for the friction angle phiE of the
// deepest analysis t-z curve.
Real MosherTipExponent(Real phiE);
// Type 2: Q = Qmax (w / (0.05 D))^n at fixed movements, uncapped.
CurvePoints MosherSandTipShape(Real qmax, Real phiE, Real diam, bool si);
// Type 4: drilled shaft in sand, rising to 1.46 Qmax at 10 % of the diameter.
CurvePoints DrilledShaftSandTipShape(Real qmax, Real diam);

}  // namespace korvan
