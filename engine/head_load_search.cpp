#include "head_load_search.h"

#include <cmath>

namespace korvan {

Real StartingTipMovement(const Results& res, const Array1<Real, kMaxTipMovements>& tipMovements,
                         Int n, Real P) {
  if (n < 1) return 0;
  const auto& H = res.HEADLOAD;
  const auto& W = tipMovements;
  if (P < H[1]) return W[1];
  if (P > H[n] || n == 1) return W[n];
  Int k = 2;
  while (k < n && P > H[k]) ++k;
  if (P == H[n]) return W[k];
  if (P == H[k]) return H[k + 1] == H[k] ? (W[k] + W[k + 1]) / 2 : W[k];
  return W[k - 1] + (P - H[k - 1]) * (W[k] - W[k - 1]) / (H[k] - H[k - 1]);
}

namespace {

// The tip movements with the smallest positive and the largest negative
// error seen so far.
struct Bracket {
  bool hasPositive = false, hasNegative = false;
  Real positiveError = 0, negativeError = 0;
  Real positiveMove = 0, negativeMove = 0;

  void Record(Real move, Real error) {
    if (error > 0 && (!hasPositive || error < positiveError)) {
      hasPositive = true;
      positiveError = error;
      positiveMove = move;
    } else if (error < 0 && (!hasNegative || error > negativeError)) {
      hasNegative = true;
      negativeError = error;
      negativeMove = move;
    }
  }
  bool Closed() const { return hasPositive && hasNegative; }
};

}  // namespace

HeadLoadSolution SearchHeadLoad(PileWalker& walker, Real P, Real start) {
  HeadLoadSolution solution;
  Real trial = start;
  Bracket bracket;
  for (Int count = 1;; ++count) {
    const Real walked = trial;
    solution.lastWalk = walker.Walk(walked);
    solution.walks = count;
    solution.overflow = FindOverflow(solution.lastWalk, walker);
    if (solution.overflow != WalkOverflow::kNone) break;
    const Real H = solution.lastWalk.headLoad;
    const Real E = solution.lastWalk.uplift ? H + P : H - P;
    if (count >= 2) bracket.Record(walked, E);
    if (count >= kMaxSearchWalks) break;
    if (count >= 2 && bracket.Closed()) {
      trial = (bracket.positiveMove + bracket.negativeMove) / 2;
    } else if (E > 0) {
      trial *= 0.98f;
    } else if (E < 0) {
      trial *= 1.02f;
    }
    // The test follows the update: a converged load reports the new trial.
    if (std::fabs(E) < 0.0005f * std::fabs(P)) {
      solution.converged = true;
      break;
    }
  }
  solution.tipMovement = trial;
  return solution;
}

}  // namespace korvan
