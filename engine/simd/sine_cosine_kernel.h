// SPDX-License-Identifier: GPL-3.0-or-later
// sin x and cos x together as straight-line arithmetic, so that a loop over
// an array of arguments, or a block of lanes, vectorises where the library's
// sincos is a call per element: what the searches' quick terms take for the
// slots whose motion is circular.
//
// Notation:
//   x          the argument (rad), |x| <= kSineCosineArgumentLimit
//   n, r       x = n pi/2 + r, n the integer nearest x 2/pi, |r| <= pi/4
//              (and a rounding more)
//   P1, P2, P3 pi/2 in three parts, the first two of 33 significant bits so
//              that n P1 and n P2 are exact for every n of the range, the
//              third the rest rounded (pi/2 - P1 - P2 - P3 = 1.0e-37)
//   S(r), C(r) the Taylor series of sin r to r^15 / 15! and of cos r to
//              r^16 / 16!: the first term left out is at most
//              (pi/4)^17 / 17! = 4.6e-17 and (pi/4)^18 / 18! = 2.0e-18, below
//              half a unit in the last place of sin r and cos r where they
//              matter (sin r itself near its zero is r to within r^3 / 6)
//   quadrant   n mod 4: (sin x, cos x) = (S, C), (C, -S), (-S, -C), (-C, S)
#pragma once

#include <cstdint>

#include "simd/exponential_kernel.h"
#include "simd/lane_vector.h"

namespace swcore {

// 2^20 rad: the largest |x| the kernel takes; beyond it, or for an undefined
// argument, what it gives means nothing and the library's functions are the
// ones to use. Up to it n has at most 20 bits, so n P1 and n P2 are exact,
// and the reduction's error, n times the 1.0e-37 of P1 + P2 + P3, stays
// below 1e-30.
inline constexpr double kSineCosineArgumentLimit = 0x1p20;

template <class Value>
struct SineCosineOf {
  Value sine;
  Value cosine;
};

namespace detail {

inline constexpr double kTwoOverPi = 0x1.45f306dc9c883p-1;
inline constexpr double kHalfPi1 = 0x1.921fb54400000p+0;
inline constexpr double kHalfPi2 = 0x1.0b4611a600000p-34;
inline constexpr double kHalfPi3 = 0x1.3198a2e037073p-69;

}  // namespace detail

// sin x and cos x for |x| <= kSineCosineArgumentLimit, each within
// 3 x 2^-53 (three units in the last place of values near 1) of the
// library's, for one
// double or every lane of a LaneVector at once. Both are bounded by 1 and the
// error is absolute: where sin x nears a zero, x itself, rounded to a
// double, already moves it by more (2^-53 |x|).
template <Arithmetic kArithmetic = Arithmetic::plain, class Value>
[[gnu::always_inline]] inline SineCosineOf<Value> quickSineCosine(Value x) {
  using detail::kHalfPi1, detail::kHalfPi2, detail::kHalfPi3, detail::kRoundingShift;
  const auto all = [](double v) { return broadcast<Value>(v); };
  const auto multiplyAdd = [](Value a, Value b, Value c) {
    return detail::multiplyAdd<kArithmetic>(a, b, c);
  };
  // The low bits of `shifted` hold n (two's complement, modulo 2^51).
  const Value shifted = multiplyAdd(x, all(detail::kTwoOverPi), all(kRoundingShift));
  const Value n = shifted - kRoundingShift;
  // Cody and Waite's reduction: the first two products are exact and each
  // difference is close to exact cancellation.
  const Value r = multiplyAdd(-n, all(kHalfPi3),
                              multiplyAdd(-n, all(kHalfPi2), multiplyAdd(-n, all(kHalfPi1), x)));
  const Value r2 = r * r;
  constexpr double s3 = -1.0 / 6.0, s5 = 1.0 / 120.0, s7 = -1.0 / 5040.0;
  constexpr double s9 = 1.0 / 362880.0, s11 = -1.0 / 39916800.0;
  constexpr double s13 = 1.0 / 6227020800.0, s15 = -1.0 / 1307674368000.0;
  constexpr double c4 = 1.0 / 24.0, c6 = -1.0 / 720.0, c8 = 1.0 / 40320.0;
  constexpr double c10 = -1.0 / 3628800.0, c12 = 1.0 / 479001600.0;
  constexpr double c14 = -1.0 / 87178291200.0, c16 = 1.0 / 20922789888000.0;
  // Horner's scheme in r^2; the leading terms r and 1 - r^2/2 added last,
  // the larger first, so that their rounding is the only one of size.
  Value sineTail = multiplyAdd(all(s15), r2, all(s13));
  sineTail = multiplyAdd(sineTail, r2, all(s11));
  sineTail = multiplyAdd(sineTail, r2, all(s9));
  sineTail = multiplyAdd(sineTail, r2, all(s7));
  sineTail = multiplyAdd(sineTail, r2, all(s5));
  sineTail = multiplyAdd(sineTail, r2, all(s3));
  const Value sine = multiplyAdd(r * r2, sineTail, r);
  Value cosineTail = multiplyAdd(all(c16), r2, all(c14));
  cosineTail = multiplyAdd(cosineTail, r2, all(c12));
  cosineTail = multiplyAdd(cosineTail, r2, all(c10));
  cosineTail = multiplyAdd(cosineTail, r2, all(c8));
  cosineTail = multiplyAdd(cosineTail, r2, all(c6));
  cosineTail = multiplyAdd(cosineTail, r2, all(c4));
  const Value halfSquare = 0.5 * r2;
  const Value oneLess = 1.0 - halfSquare;
  // What rounding 1 - r^2/2 lost (both differences exact: oneLess lies
  // within a factor of two of 1, 1 - oneLess of r^2/2), put back with the
  // tail.
  const Value lost = halfSquare - (1.0 - oneLess);
  const Value cosine = oneLess + multiplyAdd(r2 * r2, cosineTail, -lost);
  // The quadrant's swap and signs.
  const auto quadrant = bitsOf(shifted) & 3u;
  const auto swapped = (quadrant & 1u) != 0u;
  const auto sineNegated = (quadrant & 2u) != 0u;
  const auto cosineNegated = ((quadrant + 1u) & 2u) != 0u;
  const Value sineValue = pick(swapped, cosine, sine);
  const Value cosineValue = pick(swapped, sine, cosine);
  return {pick(sineNegated, -sineValue, sineValue), pick(cosineNegated, -cosineValue, cosineValue)};
}

}  // namespace swcore
