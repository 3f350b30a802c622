// The fixed numeric constants of the engine's algorithms. They are part of
// the results: pi is 3.1416 wherever the engine uses it, not a more precise
// value.
#pragma once

#include "data_model.h"

namespace korvan {

inline constexpr Real kPi = 3.1416f;
inline constexpr Real kMetresPerInch = 0.0254f;
inline constexpr Real kKilonewtonsPerKip = 4.448f;
inline constexpr Real kPsfPerKpa = 20.88f;
inline constexpr Real kSquareInchesPerSquareFoot = 144;

}  // namespace korvan
