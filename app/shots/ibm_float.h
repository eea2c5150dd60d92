// SPDX-License-Identifier: GPL-3.0-or-later
// IBM System/360 single-precision floating point, the samples of SEG-Y's
// format 1: a sign bit, a 7-bit exponent of 16 biased by 64 and a 24-bit
// fraction, value = (-1)^s x 0.f x 16^(e - 64). Every such number is exact
// in a double (24 fraction bits; exponents 16^-64 .. 16^63 lie inside its
// range).
#pragma once

#include <cmath>
#include <cstdint>

namespace dispfit {

inline double ibmToDouble(std::uint32_t bits) {
  const double fraction = static_cast<double>(bits & 0x00FFFFFFu) / 16777216.0;  // 2^24
  const int exponent = static_cast<int>((bits >> 24) & 0x7Fu) - 64;
  const double magnitude = std::ldexp(fraction, 4 * exponent);
  return (bits & 0x80000000u) ? -magnitude : magnitude;
}

}  // namespace dispfit
