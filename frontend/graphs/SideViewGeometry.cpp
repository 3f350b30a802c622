#include "graphs/SideViewGeometry.h"

#include <algorithm>
#include <cmath>

namespace korvan {

namespace {

constexpr long double kMargin = 1.05L;
constexpr long double kPileWidthFactor = 1.5L;
// Far beyond any screen or page; keeps the conversion to int defined.
constexpr long double kPixelLimit = 1e7L;

int RoundPixel(long double value) {
  // Rounds half to even, as the screen mapping always has.
  return static_cast<int>(std::nearbyint(std::clamp(value, -kPixelLimit, kPixelLimit)));
}

}  // namespace

long double PileDrawnWidth(const TPileProfile& profile) {
  return kPileWidthFactor * profile.OD;
}

void TSideViewGeometry::Build(const TPileProfile& profile, QSize client) {
  NoDraw = false;
  DataG.clear();
  if (profile.Layers.empty()) {
    FitAspect(client);
    return;
  }
  const long double w = PileDrawnWidth(profile);
  const long double l = profile.PLength;
  diam1 = {w, l};
  const long double head = profile.HeadCoord;
  DataG.push_back({{-w / 2, head}, {w / 2, head}, {-w / 2, head + l}, {w / 2, head + l}});

  DLeft = 0;
  DRight = 0;
  DTop = 0;
  DBottom = profile.Layers.back().Bottom;
  for (const TPileOutline& pile : DataG) {
    DLeft = std::min({DLeft, pile.TopLeft.x, pile.BottomLeft.x});
    DRight = std::max({DRight, pile.TopRight.x, pile.BottomRight.x});
    DTop = std::min({DTop, pile.TopLeft.y, pile.TopRight.y});
    DBottom = std::max({DBottom, pile.BottomLeft.y, pile.BottomRight.y});
  }
  DLeft *= kMargin;
  DRight *= kMargin;
  DTop *= kMargin;
  DBottom *= kMargin;
  FitAspect(client);
}

void TSideViewGeometry::FitAspect(QSize client) {
  // Each correction starts from the extents, so that resizing back and
  // forth never compounds.
  Left = DLeft;
  Right = DRight;
  Top = DTop;
  Bottom = DBottom;
  if (client.width() <= 0 || client.height() <= 0) return;
  const long double across = DRight - DLeft;
  const long double down = DBottom - DTop;
  long double a = 1;
  if (across != 0 && down != 0)
    a = (static_cast<long double>(client.width()) / client.height()) / (across / down);
  if (!std::isfinite(a) || a <= 0) {
    NoDraw = true;
    return;
  }
  if (a >= 1) {
    Left *= a;
    Right *= a;
  } else {
    Top /= a;
    Bottom /= a;
  }
  if (!std::isfinite(Left) || !std::isfinite(Right) || !std::isfinite(Top) ||
      !std::isfinite(Bottom) || !std::isfinite(Right - Left) || !std::isfinite(Bottom - Top))
    NoDraw = true;
}

void TSideViewGeometry::Clear() {
  DataG.clear();
  NoDraw = true;
}

int TSideViewGeometry::ScreenX(long double x, int width) const {
  if (Right == Left) return 0;
  return RoundPixel(width * (x - Left) / (Right - Left));
}

int TSideViewGeometry::ScreenY(long double y, int height) const {
  if (Bottom == Top) return 0;
  return RoundPixel(height * (y - Top) / (Bottom - Top));
}

long double TSideViewGeometry::DepthAt(int y, int height) const {
  if (height <= 0) return Top;
  return static_cast<long double>(y) / height * (Bottom - Top) + Top;
}

}  // namespace korvan
