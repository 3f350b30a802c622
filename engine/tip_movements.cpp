#include "tip_movements.h"

#include <array>
#include <utility>

#include "engine_constants.h"

namespace korvan {

namespace {

// The default series in inches: uplift first, then compression.
constexpr std::array<Real, 9> kUpliftSeries = {-5.0f,  -0.5f,  -0.2f,   -0.1f,   -0.07f,
                                               -0.03f, -0.01f, -0.001f, -0.0001f};
constexpr std::array<Real, 9> kCompressionSeries = {0.0001f, 0.001f, 0.01f, 0.03f, 0.07f,
                                                    0.1f,    0.2f,   0.5f,  5.0f};

}  // namespace

void BuildTipMovements(InputData& in) {
  in.userTipMovements = in.NTIPMV > 0;
  if (in.userTipMovements) {
    // Selection sort: the smallest remaining movement is swapped into place.
    for (Int i = 1; i < in.NTIPMV; ++i) {
      Int smallest = i;
      for (Int j = i + 1; j <= in.NTIPMV; ++j) {
        if (in.TIPMV[j] < in.TIPMV[smallest]) smallest = j;
      }
      std::swap(in.TIPMV[i], in.TIPMV[smallest]);
    }
    return;
  }

  Int positive = 0, negative = 0;
  for (Int n = 1; n <= in.NLOAD; ++n) {
    if (in.PLOAD[n] > 0) ++positive;
    if (in.PLOAD[n] < 0) ++negative;
  }
  in.NTIPMV = 0;
  auto append = [&in](const std::array<Real, 9>& series) {
    for (Real inches : series) {
      in.TIPMV[++in.NTIPMV] = in.NUNIT == 1 ? inches : inches * kMetresPerInch;
    }
  };
  if (negative > 0) append(kUpliftSeries);
  // Compression movements also when there are no loads or only zero loads.
  if (positive > 0 || negative == 0) append(kCompressionSeries);
}

}  // namespace korvan
