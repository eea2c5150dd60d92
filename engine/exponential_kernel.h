// e^x as straight-line arithmetic, so that a loop over an array of
// arguments vectorises (the library's exp is a call per element).
#pragma once

#include <bit>
#include <cstdint>

namespace swcore {

// Arguments accepted by exponentialKernel(); outside it the library's exp is
// the one to use (the result there overflows or becomes subnormal).
inline constexpr double kKernelArgumentLimit = 708.0;

// e^x for |x| <= kKernelArgumentLimit, within about one unit in the last place.
// x = n ln 2 + r with |r| <= ln 2 / 2 (ln 2 split in two parts so that n ln 2
// is exact), e^r from its Taylor series to r^13 (truncation below 1e-17), and
// 2^n placed directly into the exponent bits.
inline double exponentialKernel(double x) {
  constexpr double kLog2e = 0x1.71547652b82fep+0;
  constexpr double kLn2High = 0x1.62e42fee00000p-1;  // 32 significant bits
  constexpr double kLn2Low = 0x1.a39ef35793c76p-33;
  constexpr double kRoundingShift = 0x1.8p52;  // adding it rounds to an integer
  const double shifted = x * kLog2e + kRoundingShift;
  const double n = shifted - kRoundingShift;
  const double r = (x - n * kLn2High) - n * kLn2Low;

  // 1/k! for k = 2 .. 13.
  constexpr double c2 = 1.0 / 2.0, c3 = 1.0 / 6.0, c4 = 1.0 / 24.0, c5 = 1.0 / 120.0;
  constexpr double c6 = 1.0 / 720.0, c7 = 1.0 / 5040.0, c8 = 1.0 / 40320.0;
  constexpr double c9 = 1.0 / 362880.0, c10 = 1.0 / 3628800.0, c11 = 1.0 / 39916800.0;
  constexpr double c12 = 1.0 / 479001600.0, c13 = 1.0 / 6227020800.0;
  const double r2 = r * r;
  const double r4 = r2 * r2;
  const double r8 = r4 * r4;
  // Sum of c_k r^(k-2), k = 2 .. 13, in Estrin's scheme.
  const double tail = ((c2 + c3 * r) + r2 * (c4 + c5 * r)) +
                      r4 * ((c6 + c7 * r) + r2 * (c8 + c9 * r)) +
                      r8 * ((c10 + c11 * r) + r2 * (c12 + c13 * r));
  const double expR = 1.0 + (r + r2 * tail);

  // The low bits of `shifted` hold n; move n + 1023 into the exponent field.
  const auto bits = std::bit_cast<std::uint64_t>(shifted);
  const double twoToN = std::bit_cast<double>((bits + 1023u) << 52);
  return expR * twoToN;
}

}  // namespace swcore
