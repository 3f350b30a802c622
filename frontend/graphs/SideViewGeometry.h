// The side view's geometry: the pile outline in project length units, the
// extents of the drawing, and the view window onto it, corrected so that a
// length is as many pixels across as down.
#pragma once

#include <QSize>
#include <utility>
#include <vector>

#include "graphs/PileProfile.h"

namespace korvan {

struct TSidePoint {
  long double x = 0;
  long double y = 0;
};

struct TPileOutline {
  TSidePoint TopLeft, TopRight, BottomLeft, BottomRight;
};

// The pile's drawn width: 1.5 × OD in the project's length unit, so that a
// pile shows at the same proportion in both unit systems.
long double PileDrawnWidth(const TPileProfile& profile);

class TSideViewGeometry {
 public:
  // Pile outline and extents of `profile`, then the view window for a
  // client area of `client`. Without soil layers there is no outline and
  // the extents stay as they were.
  void Build(const TPileProfile& profile, QSize client);
  // The view window: the extents, widened (or lengthened downwards) to the
  // client area's proportions. Numbers that overflow set NoDraw; an empty
  // client area leaves the window at the extents.
  void FitAspect(QSize client);
  // Frees the outlines and stops all drawing (the window closes).
  void Clear();

  // Screen position of a drawing coordinate in a client area; a view window
  // without extent in that direction maps everything to 0.
  int ScreenX(long double x, int width) const;
  int ScreenY(long double y, int height) const;
  // Depth under the screen row y.
  long double DepthAt(int y, int height) const;

  bool NoDraw = false;
  std::vector<TPileOutline> DataG;
  long double DLeft = -10, DRight = 10, DTop = 0, DBottom = 10;
  long double Left = -10, Right = 10, Top = 0, Bottom = 10;
  std::pair<long double, long double> diam1{0, 0};  // drawn width w, pile length L
};

}  // namespace korvan
