// Curves compared point by point: each value within an absolute tolerance or
// one relative to the expected value, whichever allows more, and a failure
// names the point.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

namespace korvan::testing {

struct TTolerance {
  double absolute = 0;
  double relative = 0;

  double Allowed(double expected) const {
    return std::max(absolute, relative * std::fabs(expected));
  }
};

// got(j) against want(j) for the points j = 0 … count − 1; `what` names the
// values ("z of curve 3") in a failure, followed by the point's number from 1.
template <class TGot, class TWant>
void ExpectCurveNear(const std::string& what, int count, TGot got, TWant want,
                     TTolerance tolerance) {
  for (int j = 0; j < count; ++j) {
    const double expected = static_cast<double>(want(j));
    EXPECT_NEAR(static_cast<double>(got(j)), expected, tolerance.Allowed(expected))
        << what << ", point " << j + 1;
  }
}

}  // namespace korvan::testing
