// SPDX-License-Identifier: GPL-3.0-or-later
// e^x as straight-line arithmetic, so that a loop over an array of
// arguments, or a block of lanes, vectorises (the library's exp is a call per
// element), together with the knowledge whether the value is the correctly
// rounded one.
#pragma once

#include <bit>
#include <cmath>
#include <cstdint>
#include <type_traits>

#include "simd/lane_vector.h"

namespace swcore {

// Arguments accepted by the kernel; outside it the library's exp is the one
// to use (the result there overflows or becomes subnormal), and what the
// kernel gives there, or for an undefined argument, means nothing.
inline constexpr double kKernelArgumentLimit = 708.0;

// How the kernel's products and sums are formed: plainly, each operation
// rounded, or with fused multiply-adds where the processor has them (fewer
// operations, one rounding instead of two). The settled values are the same.
// The fused form is written for one double, in loops the compiler
// vectorises; the compiler leaves a fused multiply-add of lane vectors in
// single lanes.
enum class Arithmetic { plain, fused };

namespace detail {

// The reduction x = n ln 2 + r of both kernels: log2(e), ln 2 in two parts
// (the high one of 32 significant bits, so that n times it is exact for every
// n of the range), and the shift that rounds x log2(e) to an integer in the
// low bits of a double.
inline constexpr double kLog2e = 0x1.71547652b82fep+0;
inline constexpr double kLn2High = 0x1.62e42fee00000p-1;
inline constexpr double kLn2Low = 0x1.a39ef35793c76p-33;
inline constexpr double kRoundingShift = 0x1.8p52;

// a b + c, fused or each operation rounded.
template <Arithmetic kArithmetic, class Value>
[[gnu::always_inline]] inline Value multiplyAdd(Value a, Value b, Value c) {
  if constexpr (kArithmetic == Arithmetic::fused) {
    static_assert(std::is_same_v<Value, double>);
    return __builtin_fma(a, b, c);
  } else {
    return a * b + c;
  }
}

// 2^n from the shifted x log2(e) whose low bits hold n.
template <class Value>
[[gnu::always_inline]] inline Value powerOfTwo(Value shifted) {
  const auto bits = bitsOf(shifted);
  return fromBits<Value>((bits + 1023u) << 52);
}

}  // namespace detail

// e^x for |x| <= kKernelArgumentLimit together with the knowledge whether it
// is the value rounded to nearest. x = n ln 2 + r with |r| <= ln 2 / 2, the
// reduced argument carried with its rounding error, r^2 formed exactly
// (Dekker's splitting, or one fused multiply-add), and the sum
// 1 + r + r^2/2 + r^3 P(r) carried in two parts. Before its last rounding the
// value is then wrong by less than 2^-50 |r^3 P(r)| + 2^-62: the rounding
// errors of the cubic term (measured against a long-double reference: at
// most 3.6 x 2^-53 |r^3 P(r)|, plain or fused) and those of the small parts.
// `slack` is positive when the value is settled: it lies farther than that,
// and 1/64 unit in the last place more, from every point halfway between two
// doubles, so that any computation of e^x to within 1/64 unit before rounding
// rounds it the same way. The C library's is one: its documented worst case
// is 0.511 units after rounding.
template <class Value>
struct NearestExponentialOf {
  Value value;
  Value slack;  // in units of e^r
};
using NearestExponential = NearestExponentialOf<double>;

// For one double or for every lane of a LaneVector at once.
template <Arithmetic kArithmetic = Arithmetic::plain, class Value>
[[gnu::always_inline]] inline NearestExponentialOf<Value> nearestExponential(Value x) {
  constexpr bool kFused = kArithmetic == Arithmetic::fused;
  using detail::kLn2High, detail::kLn2Low, detail::kLog2e, detail::kRoundingShift;
  constexpr double kSplitter = 0x1.0000002p+27;  // 2^27 + 1
  const auto all = [](double v) { return broadcast<Value>(v); };
  const auto multiplyAdd = [](Value a, Value b, Value c) {
    return detail::multiplyAdd<kArithmetic>(a, b, c);
  };
  const Value shifted = multiplyAdd(x, all(kLog2e), all(kRoundingShift));
  const Value n = shifted - kRoundingShift;
  // r + rLow = x - n ln 2: t is exact (n kLn2High has at most 43 bits), the
  // subtraction of n kLn2Low is followed by its rounding error (Knuth's
  // two-sum).
  const Value t = multiplyAdd(-n, all(kLn2High), x);
  const Value nLow = n * kLn2Low;
  const Value r = t - nLow;
  const Value back = r - t;
  const Value rLow = (t - (r - back)) + (-nLow - back);
  // r^2 = square + squareLow exactly.
  const Value square = r * r;
  Value squareLow;
  if constexpr (kFused) {
    squareLow = __builtin_fma(r, r, -square);
  } else {
    const Value split = r * kSplitter;
    const Value rHigh = split - (split - r);
    const Value rTail = r - rHigh;
    squareLow = ((rHigh * rHigh - square) + 2.0 * rHigh * rTail) + rTail * rTail;
  }

  // P(r) = sum of r^(k-3) / k!, k = 3 .. 15 (truncation below 2e-19); 1/6 in
  // two parts, the rest of the series in Estrin's scheme.
  constexpr double c4 = 1.0 / 24.0, c5 = 1.0 / 120.0, c6 = 1.0 / 720.0, c7 = 1.0 / 5040.0;
  constexpr double c8 = 1.0 / 40320.0, c9 = 1.0 / 362880.0, c10 = 1.0 / 3628800.0;
  constexpr double c11 = 1.0 / 39916800.0, c12 = 1.0 / 479001600.0, c13 = 1.0 / 6227020800.0;
  constexpr double c14 = 1.0 / 87178291200.0, c15 = 1.0 / 1307674368000.0;
  constexpr double kSixthHigh = 0x1.5555555555555p-3;
  constexpr double kSixthLow = 0x1.5555555555555p-57;
  const Value r4 = square * square;
  const Value fromFifth = multiplyAdd(
      r4 * r4, multiplyAdd(all(c15), square, multiplyAdd(all(c14), r, all(c13))),
      multiplyAdd(
          r4,
          multiplyAdd(square, multiplyAdd(all(c12), r, all(c11)),
                      multiplyAdd(all(c10), r, all(c9))),
          multiplyAdd(square, multiplyAdd(all(c8), r, all(c7)), multiplyAdd(all(c6), r, all(c5)))));
  const Value p = kSixthHigh + multiplyAdd(r, multiplyAdd(r, fromFifth, all(c4)), all(kSixthLow));
  const Value cubic = multiplyAdd(r, squareLow, r * square) * p;

  // 1 + r and then + r^2/2, each with its exact rounding error (the larger
  // term first), and the small rest.
  const Value one = 1.0 + r;
  const Value oneLow = r - (one - 1.0);
  const Value halfSquare = 0.5 * square;
  const Value sum = one + halfSquare;
  const Value sumLow = halfSquare - (sum - one);
  const Value rest = ((oneLow + sumLow) + (0.5 * squareLow + rLow * sum)) + cubic;
  const Value expR = sum + rest;
  const Value beyond = rest - (expR - sum);  // what the rounding of expR left out

  // e^r lies in [0.70, 1.42]: one unit in the last place is 2^-53 below 1,
  // 2^-52 from 1 on; 1 itself, where the two meet, is never taken as settled.
  const Value unit = pick(expR >= 1.0, broadcast<Value>(0x1p-52), broadcast<Value>(0x1p-53));
  const Value doubt = 0x1p-50 * magnitude(cubic) + 0x1p-62 + 0x1p-6 * unit;
  const Value slack =
      pick(expR != 1.0, (0.5 * unit - magnitude(beyond)) - doubt, broadcast<Value>(-1.0));
  return {expR * detail::powerOfTwo(shifted), slack};
}

// e^x for |x| <= kKernelArgumentLimit to within two units in the last
// place, without knowing whether it is the value rounded to nearest: what a
// search that reads only the signs of a secular function needs, in about
// half the operations of nearestExponential. x = n ln 2 + r with
// |r| <= ln 2 / 2 (ln 2 in two parts, the high one of 32 bits, so n ln 2 high
// is exact), and e^r = 1 + (r + r^2 Q(r)) with Q the Taylor series from 1/2
// to r^11 / 13! in Estrin's scheme. The truncation after r^13 / 13! is below
// 0.35^14 / 14! = 4e-18, under 1/25 unit of e^r; the small sum r + r^2 Q is
// rounded to within about one unit of its own size, below half a unit of 1,
// and the reduction's error in r moves e^r by less than 2^-53 relative.
template <Arithmetic kArithmetic = Arithmetic::plain, class Value>
[[gnu::always_inline]] inline Value quickExponential(Value x) {
  using detail::kLn2High, detail::kLn2Low, detail::kLog2e, detail::kRoundingShift;
  const auto all = [](double v) { return broadcast<Value>(v); };
  const auto multiplyAdd = [](Value a, Value b, Value c) {
    return detail::multiplyAdd<kArithmetic>(a, b, c);
  };
  const Value shifted = multiplyAdd(x, all(kLog2e), all(kRoundingShift));
  const Value n = shifted - kRoundingShift;
  const Value r = multiplyAdd(-n, all(kLn2Low), multiplyAdd(-n, all(kLn2High), x));
  constexpr double c2 = 1.0 / 2.0, c3 = 1.0 / 6.0, c4 = 1.0 / 24.0, c5 = 1.0 / 120.0;
  constexpr double c6 = 1.0 / 720.0, c7 = 1.0 / 5040.0, c8 = 1.0 / 40320.0;
  constexpr double c9 = 1.0 / 362880.0, c10 = 1.0 / 3628800.0, c11 = 1.0 / 39916800.0;
  constexpr double c12 = 1.0 / 479001600.0, c13 = 1.0 / 6227020800.0;
  const Value r2 = r * r;
  const Value r4 = r2 * r2;
  const Value r8 = r4 * r4;
  // Q(r) = sum of r^(k-2) / k!, k = 2 .. 13: pairs of terms, then
  // (q01 + r^2 q23) + r^4 (q45 + r^2 q67) + r^8 (q89 + r^2 q1011).
  const Value q01 = multiplyAdd(all(c3), r, all(c2));
  const Value q23 = multiplyAdd(all(c5), r, all(c4));
  const Value q45 = multiplyAdd(all(c7), r, all(c6));
  const Value q67 = multiplyAdd(all(c9), r, all(c8));
  const Value q89 = multiplyAdd(all(c11), r, all(c10));
  const Value q1011 = multiplyAdd(all(c13), r, all(c12));
  const Value fromSecond = multiplyAdd(r2, q23, q01);
  const Value fromSixth = multiplyAdd(r2, q67, q45);
  const Value fromTenth = multiplyAdd(r2, q1011, q89);
  const Value q = multiplyAdd(r8, fromTenth, multiplyAdd(r4, fromSixth, fromSecond));
  const Value expR = 1.0 + multiplyAdd(r2, q, r);
  return expR * detail::powerOfTwo(shifted);
}

}  // namespace swcore
