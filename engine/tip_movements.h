// The series of tip movements the pile is solved for.
#pragma once

#include "data_model.h"

namespace korvan {

// Sorts the user tip movements ascending, or builds the 9 or 18 default
// movements from the signs of the head loads (in metres for SI).
void BuildTipMovements(InputData& in);

}  // namespace korvan
