// The decimal digits of the fast field path: a value scaled by a power of ten
// and rounded to an integer, to nearest with halves away from zero on the
// exact binary value, like the general path. One double operation decides
// nearly every value; a scaled value near a half is decided from the exact
// binary value with integer arithmetic.
#pragma once

#include <cstdint>

namespace korvan {

// round(magnitude · 10^power) into `rounded`. False (nothing decided) when
// |power| > 22 or when the result would reach 2^40. `magnitude` is finite
// and not negative.
bool RoundScaled(double magnitude, int power, std::uint64_t& rounded);

// The magnitude rounded to `significant` digits (1..12): `digits` holds
// exactly that many, d·10^exponent being the first of them (a value that
// rounds up to a new digit, as 9.9995 to four, gives 1000 and the next
// exponent). False when RoundScaled decides nothing. `magnitude` is finite
// and greater than zero.
bool RoundSignificant(double magnitude, int significant, std::uint64_t& digits, int& exponent);

// 10^n for 0 <= n <= 19.
std::uint64_t PowerOfTenInteger(int n);

// The number of decimal digits of n (1 for 0).
int DecimalDigitCount(std::uint64_t n);

}  // namespace korvan
