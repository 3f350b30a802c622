// One walk up the pile for a prescribed tip movement: the tip load from the
// tip curve, then increment by increment from the tip to the head the side
// load from the t-z curve and the elastic shortening, with a short
// fixed-point iteration per increment on the movement at its mid-depth.
#pragma once

#include <span>
#include <vector>

#include "curve_lookups.h"
#include "data_model.h"

namespace korvan {

// The converged state of one increment m (m = 1 at the tip), as the report
// and the plot file print it (before any sign reversal for uplift).
struct IncrementState {
  Real bottomDepth = 0;   // absolute depth of the increment's lower end
  Real bottomLoad = 0;    // axial load there
  Real bottomMove = 0;    // pile movement there
  Real midDepth = 0;      // absolute mid-depth x(m)
  Real loadTransfer = 0;  // unit load transfer t
  Real loadIncrement = 0;
  Real averageLoad = 0;
  Real shortening = 0;
  Real midMove = 0;  // movement at the mid-depth
};

struct WalkResult {
  Real headLoad = 0;  // magnitudes: uplift walks work with |w|
  Real headMove = 0;
  Real tipLoad = 0;
  bool uplift = false;
};

// The walk for one pile. Everything that depends on the increment alone
// (depths, AE, soil settlement, where the depth lies among the t-z curves)
// is found once when the walker is made, so a walk costs time linear in
// NINC and allocates nothing.
class PileWalker {
 public:
  // Movements at or below this are walked as uplift (zero included).
  static constexpr Real kUpliftLimit = 1E-10f;
  static constexpr Int kMaxEvaluations = 100;

  explicit PileWalker(const InputData& in);

  WalkResult Walk(Real tipMovement);

  // The increments of the last walk, from the tip (index 0) to the head.
  std::span<const IncrementState> Increments() const { return increments_; }
  Real HeadDepth() const { return headDepth_; }
  // True when the AE of every increment is positive (and a number).
  bool StiffnessIsPositive() const;
  // False when every value of the last walk is certainly finite.
  bool LastWalkMayHaveOverflowed() const { return lastWalkMayHaveOverflowed_; }

 private:
  struct IncrementSetup {
    Real midDepth = 0;
    Real bottomDepth = 0;
    Real stiffness = 0;
    Real settlement = 0;
    TzDepthBracket curves;
  };

  const InputData& in_;
  Real length_ = 0;     // ΔL
  Real shaftArea_ = 0;  // C
  Real headDepth_ = 0;
  bool downDrag_ = false;
  bool lastWalkMayHaveOverflowed_ = false;
  std::vector<IncrementSetup> setup_;
  std::vector<IncrementState> increments_;
};

// The first quantity of the walker's last walk, from the tip up, that is no
// longer a finite real: extreme data (a tiny AE, a huge diameter or
// strength) overflows the 32-bit reals, and such a walk must not be
// reported as a result.
enum class WalkOverflow {
  kNone,
  kDepth,  // the pile's length and head coordinate give no finite depth
  kTipLoad,
  kLoadTransfer,  // the unit load transfer t
  kLoad,          // a load increment or an axial load
  kShortening,
  kMovement,
};
WalkOverflow FindOverflow(const WalkResult& walk, const PileWalker& walker);

}  // namespace korvan
