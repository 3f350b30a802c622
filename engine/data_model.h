// The engine's input data model and result store. Every array is 1-based
// (index 0 is unused) and sized for the engine's capacities; all reals are
// 32-bit and all integers 32-bit, as the numerics require.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>

namespace korvan {

using Real = float;
using Int = std::int32_t;

// Capacities. The curve store is sized for the front end's limit of 500
// increments, since the analysis set holds one generated curve per increment.
inline constexpr Int kMaxTzCurves = 500;
inline constexpr Int kMaxUserTzCurves = 200;
inline constexpr Int kMaxTzPoints = 200;
inline constexpr Int kMaxQwPoints = 50;
inline constexpr Int kMaxLayers = 30;
inline constexpr Int kMaxStrRows = 2 * kMaxLayers;
inline constexpr Int kMaxAePoints = 50;
inline constexpr Int kMaxTipMovements = 100;
inline constexpr Int kMaxLoads = 50;
inline constexpr Int kMaxSettlementPoints = 100;
inline constexpr Int kMaxModRows = 50;
inline constexpr Int kMaxIncrements = 500;

template <class T, Int N>
using Array1 = std::array<T, N + 1>;  // indices 1..N

// A count as far as the storage it counts reaches (0..capacity): a loop up
// to it never reads past an array, whatever count the data gave.
inline Int StoredCount(Int count, Int capacity) {
  return std::clamp<Int>(count, 0, capacity);
}

// The t-z curve store: user curves, or the generated report set and then the
// analysis set at the increment mid-depths.
struct TzCurveStore {
  Int NTZ = 0;
  Array1<Int, kMaxTzCurves> CRVNO{};
  Array1<Real, kMaxTzCurves> XTZ{};
  Array1<Int, kMaxTzCurves> KTZ{};
  Array1<Int, kMaxTzCurves> NPTZ{};
  Array1<Real, kMaxTzCurves> TMAXTZ{};
  Array1<Real, kMaxTzCurves> PHITZ{};
  // Point j of curve k is (Z[k][j], T[k][j]).
  Array1<Array1<Real, kMaxTzPoints>, kMaxTzCurves> T{};
  Array1<Array1<Real, kMaxTzPoints>, kMaxTzCurves> Z{};
};

struct InputData {
  // The title (record 1).
  std::string TITLE;  // exactly 72 characters, blank padded
  // Increments, print option and unit system (record 2).
  Int NINC = 0, LSO = 0, NUNIT = 0;
  // The curve sources (record 3): 2 for the user's curves.
  Int METHODTZ = 0, METHODQW = 0;
  // The user t-z curves (record 4), or the generated curves.
  TzCurveStore tz;
  // The user tip curve (record 5), or the generated one.
  Int NQW = 0;
  Array1<Real, kMaxQwPoints> QTIP{}, WTIP{};
  // The soil layers and the soil profile, two property rows per layer
  // (record 6).
  Int NLAYER = 0;
  Array1<Int, kMaxLayers> LAYNO{}, KSOIL{};
  Array1<Real, kMaxLayers> XTOP{}, XBOT{};
  Int NSTR = 0;
  Array1<Real, kMaxStrRows> XSTR{}, XG1{}, GAM1{}, C1{}, PHI1{}, EE50{}, BLOW{}, ZPEAK{}, TRES{},
      USIDE{}, UTIP{};
  // The AE table (record 7).
  Int NAE = 0;
  Array1<Real, kMaxAePoints> AEPILE{}, XAE{};
  // The pile (record 8).
  Real TOL = 0, PLEN = 0, HEAD = 0, DIAM = 0, TIPAREA = 0;
  // The tip movements (record 9, or the default series); the head-load
  // search overwrites them.
  Int NTIPMV = 0;
  bool userTipMovements = false;  // the file held movements (they are echoed)
  Array1<Real, kMaxTipMovements> TIPMV{};
  // The head loads (record 10).
  Int NLOAD = 0;
  Array1<Real, kMaxLoads> PLOAD{};
  // The soil settlement profile (record 11).
  Int NSET = 0;
  Array1<Real, kMaxSettlementPoints> SETX{}, SETV{};
  // The t-z modification rows (record 12).
  Int KMODTZ = 0, NMOD = 0;
  Array1<Real, kMaxModRows> MODX{}, MODT{}, MODZ{};
  // The tip curve's multipliers (record 13).
  Int KMODQW = 0;
  Real QMULT = 1, WMULT = 1;
};

// Results of the tip-movement series (signed after the summary) and of the
// head-load search.
struct Results {
  Array1<Real, kMaxTipMovements> HEADLOAD{}, HEADMV{}, TIPLOAD{};
  Array1<Int, kMaxTipMovements> UPFLAG{};
};

}  // namespace korvan
