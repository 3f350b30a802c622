// The elevation view of the pile in its soil profile ("Elevation View").
// It draws what the main window hands it on every activation, so that it
// needs nothing of the project model itself.
#pragma once

#include <functional>
#include <vector>

#include "child_window.h"

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

class TDlgSideView : public platform::TChildWindow {
  Q_OBJECT

 public:
  using TProfileSource = std::function<TPileProfile()>;

  // `source` is asked for the profile each time the window becomes active.
  explicit TDlgSideView(TProfileSource source, QWidget* parent = nullptr);
  ~TDlgSideView() override;

 private:
  TProfileSource fSource;
};

}  // namespace korvan
