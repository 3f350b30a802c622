// What the pile side view draws: the pile and the soil layers, as the main
// window hands them over from the project.
#pragma once

#include <vector>

namespace korvan {

// One soil layer as the side view draws it: its type code (1..6) and the
// depth of its bottom below the ground, in the project's length unit.
struct TSoilBand {
  int SoilType = 1;
  double Bottom = 0;
};

// What the side view draws: the pile and the soil layers, top to bottom.
struct TPileProfile {
  double PLength = 0;
  double HeadCoord = 0;
  double OD = 0;
  int Units = 1;  // 1 English (in), 2 SI (m)
  std::vector<TSoilBand> Layers;
};

}  // namespace korvan
