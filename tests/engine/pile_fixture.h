// A pile filled in code for the solution tests: uniform AE, one t-z curve
// and a tip curve, both given as point lists, no output channels open.
#pragma once

#include <memory>
#include <utility>
#include <vector>

#include "engine/run_context.h"
#include "engine/run_texts.h"

namespace korvan::testing {

using Points = std::vector<std::pair<Real, Real>>;  // (movement, value)

struct PileDefinition {
  Int ninc = 20;
  Real length = 480;
  Real head = 0;
  Real diameter = 12;
  Real stiffness = 4.0E+08f;
  Real tol = 1E-5f;
  Points tz = {{0.1f, 5}, {0.2f, 6}};      // unit load transfer against movement
  Points tip = {{0.2f, 2000}, {1, 3000}};  // tip load against tip movement
};

inline void SetTzCurve(TzCurveStore& tz, Int k, Real depth, const Points& points) {
  tz.CRVNO[k] = k;
  tz.XTZ[k] = depth;
  tz.NPTZ[k] = static_cast<Int>(points.size());
  for (std::size_t j = 0; j < points.size(); ++j) {
    tz.Z[k][j + 1] = points[j].first;
    tz.T[k][j + 1] = points[j].second;
  }
  if (tz.NTZ < k) tz.NTZ = k;
}

inline std::unique_ptr<RunContext> MakePile(const PileDefinition& pile) {
  auto ctx = std::make_unique<RunContext>();
  InputData& in = ctx->in;
  in.TITLE = std::string(72, ' ');
  in.NINC = pile.ninc;
  in.NUNIT = 1;
  in.PLEN = pile.length;
  in.HEAD = pile.head;
  in.DIAM = pile.diameter;
  in.TOL = pile.tol;
  in.NAE = 2;
  in.XAE[1] = 0;
  in.XAE[2] = pile.length;
  in.AEPILE[1] = in.AEPILE[2] = pile.stiffness;
  SetTzCurve(in.tz, 1, pile.head, pile.tz);
  in.NQW = static_cast<Int>(pile.tip.size());
  for (std::size_t j = 0; j < pile.tip.size(); ++j) {
    in.WTIP[j + 1] = pile.tip[j].first;
    in.QTIP[j + 1] = pile.tip[j].second;
  }
  SetUnitLabels(*ctx);
  return ctx;
}

inline void SetTipMovements(InputData& in, const std::vector<Real>& movements) {
  in.NTIPMV = static_cast<Int>(movements.size());
  for (std::size_t n = 0; n < movements.size(); ++n) in.TIPMV[n + 1] = movements[n];
}

}  // namespace korvan::testing
