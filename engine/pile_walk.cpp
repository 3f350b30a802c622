#include "pile_walk.h"

#include <algorithm>
#include <cmath>

#include "curve_lookups.h"
#include "engine_constants.h"

namespace korvan {

namespace {
// Relative movements below this drag the pile down (negative skin friction).
constexpr Real kDragLimit = 1E-8f;
}  // namespace

PileWalker::PileWalker(const InputData& in) : in_(in) {
  const Int ninc = StoredCount(in.NINC, kMaxIncrements);
  headDepth_ = in.HEAD;
  downDrag_ = in.NSET > 0;
  if (ninc > 0) {
    length_ = in.PLEN / static_cast<Real>(ninc);
    shaftArea_ = in.DIAM * kPi * length_;
  }
  setup_.resize(static_cast<std::size_t>(ninc));
  increments_.resize(static_cast<std::size_t>(ninc));
  for (Int m = 1; m <= ninc; ++m) {
    const Real fromTip = (static_cast<Real>(m) - 0.5f) * length_;
    IncrementSetup& s = setup_[static_cast<std::size_t>(m - 1)];
    s.midDepth = in.PLEN + in.HEAD - fromTip;
    s.bottomDepth = in.HEAD + in.PLEN - static_cast<Real>(m - 1) * length_;
    s.stiffness = AxialStiffnessAt(in, in.PLEN - fromTip);
    s.settlement = downDrag_ ? SettlementAt(in, s.midDepth) : Real(0);
    s.curves = LocateTzDepth(in.tz, s.midDepth);
  }
}

bool PileWalker::StiffnessIsPositive() const {
  return std::all_of(setup_.begin(), setup_.end(),
                     [](const IncrementSetup& s) { return s.stiffness > 0; });
}

WalkResult PileWalker::Walk(Real tipMovement) {
  WalkResult result;
  result.uplift = tipMovement <= kUpliftLimit;
  const Real working = result.uplift ? std::fabs(tipMovement) : tipMovement;
  // The tip carries no load in uplift.
  result.tipLoad = result.uplift ? Real(0) : TipLoadAt(in_, working);

  Real load = result.tipLoad;
  Real move = working;
  const Real halfLength = length_ / 2;
  // Stays zero while every value of the walk is finite: a cheap test that
  // spares FindOverflow its scan of the increments after a normal walk.
  Real guard = 0;
  for (std::size_t i = 0; i < setup_.size(); ++i) {
    const IncrementSetup& s = setup_[i];
    IncrementState& state = increments_[i];
    const Real Pb = load;
    const Real wb = move;
    Real v = wb;
    for (Int c = 0;;) {
      Real curveMove = v;
      Real relative = 0;
      if (downDrag_) {
        relative = result.uplift ? s.settlement + v : v - s.settlement;
        curveMove = std::fabs(relative);
      }
      Real t = TzValueInBracket(in_.tz, s.curves, curveMove);
      // Soil settling more than the pile drags it down.
      if (downDrag_ && relative < kDragLimit) t = -t;
      const Real F = shaftArea_ * t;
      const Real Pavg = Pb + F / 2;
      const Real delta = length_ * Pavg / s.stiffness;
      const Real vNew = wb + halfLength * ((Pb + Pavg) / 2) / s.stiffness;
      state.loadTransfer = t;
      state.loadIncrement = F;
      state.averageLoad = Pavg;
      state.shortening = delta;
      state.midMove = vNew;
      load = Pb + F;
      move = wb + delta;
      if (std::fabs(vNew - v) <= in_.TOL) break;
      ++c;
      if (c >= kMaxEvaluations) break;  // the last evaluation is accepted
      v = vNew;
    }
    state.bottomDepth = s.bottomDepth;
    state.bottomLoad = Pb;
    state.bottomMove = wb;
    state.midDepth = s.midDepth;
    guard += (Pb + wb + state.loadTransfer + state.loadIncrement + state.averageLoad +
              state.shortening + state.midMove + s.midDepth + s.bottomDepth) *
             0;
  }
  result.headLoad = load;
  result.headMove = move;
  lastWalkMayHaveOverflowed_ = (guard + (load + move + result.tipLoad) * 0) != 0;
  return result;
}

WalkOverflow FindOverflow(const WalkResult& walk, const PileWalker& walker) {
  if (!walker.LastWalkMayHaveOverflowed()) return WalkOverflow::kNone;
  using std::isfinite;
  if (!isfinite(walker.HeadDepth())) return WalkOverflow::kDepth;
  if (!isfinite(walk.tipLoad)) return WalkOverflow::kTipLoad;
  for (const IncrementState& s : walker.Increments()) {
    if (!isfinite(s.midDepth) || !isfinite(s.bottomDepth)) return WalkOverflow::kDepth;
    if (!isfinite(s.loadTransfer)) return WalkOverflow::kLoadTransfer;
    if (!isfinite(s.bottomLoad) || !isfinite(s.loadIncrement) || !isfinite(s.averageLoad)) {
      return WalkOverflow::kLoad;
    }
    if (!isfinite(s.shortening)) return WalkOverflow::kShortening;
    if (!isfinite(s.bottomMove) || !isfinite(s.midMove)) return WalkOverflow::kMovement;
  }
  if (!isfinite(walk.headLoad)) return WalkOverflow::kLoad;
  if (!isfinite(walk.headMove)) return WalkOverflow::kMovement;
  return WalkOverflow::kNone;
}

}  // namespace korvan
