// SPDX-License-Identifier: GPL-3.0-or-later
// The vertical functions of the layers above the half-space at one phase
// velocity: the hyperbolic or circular functions the secular function's
// layer reduction is built from.
#pragma once

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>

#include "dispersion/engine_state.h"
#include "simd/exponential_kernel.h"
#include "simd/lane_vector.h"
#include "simd/sine_cosine_kernel.h"

namespace swcore {

// Two slots per layer above the half-space: with L such layers, slot m holds
// the P velocity of layer m and slot L + m its S velocity. The array passes
// work the slots in whole groups of kPassWidth (one AVX-512 register), so a
// model's slots are followed by padding slots up to the end of their last
// group: any finite v^2 and thickness, worked but never used.
inline constexpr int kPassWidth = 8;

inline constexpr int paddedSlotCount(int slots) {
  return (slots + kPassWidth - 1) / kPassWidth * kPassWidth;
}

inline constexpr int kTermSlots = paddedSlotCount(2 * kMaxLayers);

// How the functions of the terms are valued: as the C library gives them,
// so that every term is the plain formula's to the bit (the engine's own
// results keep their numbers), or from quickExponential and
// quickSineCosine, each term within a few units in the last place of that
// (searches that read only the signs of a secular function and refine its
// zeros to far coarser tolerances). The quick terms are the literal ones
// only: the rescaled form always takes the library's.
enum class TermPrecision { library, quick };

// Models of up to this many slots (two layers above the half-space, the
// common near-surface case) are worked in one block of lanes, which reaches
// into the padding.
inline constexpr int kBlockSlots = 4;
static_assert(kBlockSlots <= kPassWidth);

// Vertical functions of every slot at one velocity: C = cosh(khr),
// S = sinh(khr)/r, T = -r sinh(khr) where c is below the slot's velocity,
// cos(khr), sin(khr)/r, r sin(khr) where it is above. `scale` is the positive
// factor exp(-k|h|r) of an evanescent slot, 1 of a circular one: the factor
// the rescaled terms carry, and for the literal terms the inverse of their
// growth.
struct VerticalTerms {
  double c[kTermSlots];
  double s[kTermSlots];
  double t[kTermSlots];
  double scale[kTermSlots];
};

namespace detail {

// What the exponential of a slot is taken of: q = 1 - c^2/v^2 (evanescent
// where q >= 0), r = sqrt|q|, k h, x = -k h r as the formulas have it, the
// argument after the substitution x > 1e20 -> 20 (and, rescaling, -|x|: the
// decaying half whatever the sign of k h, which a negative thickness or
// velocity flips), and the kernel's argument. That is the same argument
// wherever the kernel's range reaches; beyond it, where the substitution
// also falls, the kernel's value is of no use, so its argument skips the
// substitution and the clamping that would only lengthen the way to every
// exponential. For one slot (double) or a block of them (LaneVector).
template <class Value>
struct SlotArguments {
  Value q, r, kh, literalX, x, kernelArgument;
};

// With TermPrecision::quick, q = 1 - c^2 (1/v^2) from the slot's inverse
// square, a product where the plain formula divides.
template <bool Rescale, TermPrecision kPrecision = TermPrecision::library, class Value>
[[gnu::always_inline]] inline SlotArguments<Value> slotArguments(double cc, double k,
                                                                 Value velocity2, Value slowness2,
                                                                 Value thickness) {
  Value q;
  if constexpr (kPrecision == TermPrecision::quick) {
    q = 1.0 - cc * slowness2;
  } else {
    q = 1.0 - cc / velocity2;
  }
  const Value r = squareRoot(magnitude(q));  // q is never -0: 1 - y rounds to +0
  const Value kh = k * thickness;
  const Value literalX = -kh * r;
  Value x = pick(literalX > 1e20, broadcast<Value>(20.0), literalX);
  if constexpr (Rescale) {
    x = -magnitude(x);
  }
  const Value kernelArgument = Rescale ? -magnitude(literalX) : literalX;
  return {q, r, kh, literalX, x, kernelArgument};
}

// The slack of the kernel's exponential where it stands for the library's
// (an evanescent slot within the kernel's range); -1 elsewhere, undefined
// arguments included.
template <class Value>
[[gnu::always_inline]] inline Value kernelSlack(const SlotArguments<Value>& a, Value slack) {
  const Value inKernel =
      pick(magnitude(a.kernelArgument) <= kKernelArgumentLimit, slack, broadcast<Value>(-1.0));
  return pick(a.q >= 0.0, inKernel, broadcast<Value>(-1.0));
}

// The library's value for one slot the kernel does not settle: cosine and
// sine where c is above the slot's velocity, else the exponential (halved,
// as the formulas use it).
template <class Value>
[[gnu::always_inline]] inline void libraryValue(double q, double kh, double r, double x,
                                                Value& first, Value& second, int i) {
  if (q < 0.0) {
    const double theta = kh * r;
    first[i] = std::cos(theta);
    second[i] = std::sin(theta);
  } else {
    first[i] = std::exp(x) / 2.0;
  }
}

template <class Value>
struct SlotTerms {
  Value c, s, t, scale;
};

// The terms from half the exponential (`first`, evanescent slots) or from the
// cosine and sine (`first`, `second`, circular slots). With Rescale the
// evanescent terms come multiplied by exp(-k|h|r), their growing half divided
// out, and at a slot's own velocity they take their continuous limits.
template <bool Rescale, class Value>
[[gnu::always_inline]] inline SlotTerms<Value> slotTerms(const SlotArguments<Value>& a, Value first,
                                                         Value second) {
  const Value one = broadcast<Value>(1.0);
  const Value e = pick(a.q >= 0.0, first, one);
  Value growing;
  Value difference;
  Value scale;
  if constexpr (Rescale) {
    // cosh and sinh without their growing half (the difference changes sign
    // with x, as sinh does).
    const Value e2 = 2.0 * e * e;
    growing = e2 + 0.5;
    difference = pick(a.literalX > 0.0, 0.5 - e2, e2 - 0.5);
    scale = pick(a.q >= 0.0, 2.0 * e, one);
  } else {
    const Value g = 1.0 / (4.0 * e);
    growing = e + g;
    difference = e - g;
    scale = pick(a.q >= 0.0, 2.0 * e, one);
  }
  const Value numerator = pick(a.q >= 0.0, difference, second);
  SlotTerms<Value> out{pick(a.q >= 0.0, growing, first), numerator / pick(a.q >= 0.0, -a.r, a.r),
                       numerator * a.r, scale};
  if constexpr (Rescale) {
    out.c = pick(a.q == 0.0, one, out.c);
    out.s = pick(a.q == 0.0, a.kh, out.s);
    out.t = pick(a.q == 0.0, broadcast<Value>(0.0), out.t);
    out.scale = pick(a.q == 0.0, one, out.scale);
  }
  return out;
}

// The literal terms as slotTerms forms them, from `first` = e^x / 2
// (evanescent slots) or the cosine and sine, with one division a slot:
// w = 1 / (4 first r) gives both the growing half 1 / (4 first) = w r and
// 1 / r = 4 first w, and a circular slot's 1 / r is w itself. Each term
// within a few units in the last place of the plain formula's; at a slot's
// own velocity (r = 0) the terms are undefined, as the plain ones are.
template <class Value>
[[gnu::always_inline]] inline SlotTerms<Value> quickSlotTerms(const SlotArguments<Value>& a,
                                                              Value first, Value second) {
  const Value one = broadcast<Value>(1.0);
  const auto evanescent = a.q >= 0.0;
  const Value fourFirst = 4.0 * first;
  const Value w = one / (pick(evanescent, fourFirst, one) * a.r);
  const Value growing = w * a.r;
  const Value inverseR = pick(evanescent, fourFirst * w, w);
  const Value numerator = pick(evanescent, first - growing, second);
  return {pick(evanescent, first + growing, first),
          numerator * pick(evanescent, -inverseR, inverseR), numerator * a.r,
          pick(evanescent, 2.0 * first, one)};
}

// Whether the quick terms take the circular slots' cosine and sine from the
// kernel: with fused multiply-adds only. Without them (baseline x86-64) the
// kernel's polynomials cost more than the library's calls, 15 to 37 % of a
// curve.
constexpr bool kernelSineCosine(Arithmetic arithmetic, TermPrecision precision) {
  return arithmetic == Arithmetic::fused && precision == TermPrecision::quick;
}

// Four: the arguments the kernel values at once in the array passes.
inline constexpr int kSineCosineBlock = 4;

// Whether a slot is circular (c above its velocity) with an argument
// theta = k h r the sine and cosine kernel takes.
template <class Value>
[[gnu::always_inline]] inline auto inSineCosineKernel(Value q, Value theta) {
  return q < 0.0 && magnitude(theta) <= kSineCosineArgumentLimit;
}

// The cosine (`first`) and sine (`second`) of the circular slots `from` +
// the set bits of `circular`, from the kernel: their arguments gathered,
// valued in a loop that vectorises, and put back.
template <Arithmetic kArithmetic>
[[gnu::always_inline]] inline void quickCircularValues(std::uint64_t circular, int from,
                                                       const double* kh, const double* r,
                                                       double* first, double* second) {
  double theta[64];
  int where[64];
  int count = 0;
  while (circular != 0) {
    const int i = from + std::countr_zero(circular);
    circular &= circular - 1;
    where[count] = i;
    theta[count++] = kh[i] * r[i];
  }
  // Whole blocks of four, the last padded with zeros, so that no argument is
  // left to a loop's scalar remainder.
  const int valued = (count + kSineCosineBlock - 1) / kSineCosineBlock * kSineCosineBlock;
  for (int j = count; j < valued; ++j) {
    theta[j] = 0.0;
  }
  double cosine[64];
  double sine[64];
  for (int j = 0; j < valued; ++j) {
    const SineCosineOf<double> v = quickSineCosine<kArithmetic>(theta[j]);
    cosine[j] = v.cosine;
    sine[j] = v.sine;
  }
  for (int j = 0; j < count; ++j) {
    first[where[j]] = cosine[j];
    second[where[j]] = sine[j];
  }
}

}  // namespace detail

// Fills the vertical terms of `slots` slots for c^2 = cc and k = omega / c,
// from each slot's v^2 and thickness (both arrays padded up to
// paddedSlotCount(slots), and so is `out`), each term formed by the same
// operations as the plain formulas with the C library's functions, so with
// the same value. The exponential of every evanescent slot comes from the kernel; the
// library's functions give the cosine and sine of the circular slots, the
// exponential of the rare arguments beyond the kernel's range and of the few
// whose rounding the kernel cannot settle, so that every value is the one the
// library's exp gives.
//
// Array passes, so that the arithmetic before and after the exponentials runs
// over whole arrays (and vectorises), and the library's calls do not wait on
// one another.
//
// With TermPrecision::quick the kernel's exponential is quickExponential,
// the circular slots' cosine and sine come from quickSineCosine, the library
// fills only the slots beyond those kernels' ranges, and q is formed from
// `slowness2`, each slot's 1/v^2 (padded as the others; not read otherwise,
// and may then be null).
template <bool Rescale, Arithmetic kArithmetic = Arithmetic::plain,
          TermPrecision kPrecision = TermPrecision::library>
[[gnu::always_inline]] inline void verticalTerms(double cc, double k, const double* velocity2,
                                                 const double* slowness2, const double* thickness,
                                                 int slots, VerticalTerms& out) {
  // One array per quantity, so that the passes vectorise.
  double q[kTermSlots];
  double r[kTermSlots];
  double kh[kTermSlots];
  double literalX[kTermSlots];
  double x[kTermSlots];
  double first[kTermSlots];
  double second[kTermSlots];
  double slack[kTermSlots];
  // Whole groups: a partial one would be worked one slot at a time.
  const int passSlots = paddedSlotCount(slots);
  for (int i = 0; i < passSlots; ++i) {
    const auto a = detail::slotArguments<Rescale, kPrecision>(
        cc, k, velocity2[i], kPrecision == TermPrecision::quick ? slowness2[i] : 0.0, thickness[i]);
    q[i] = a.q;
    r[i] = a.r;
    kh[i] = a.kh;
    literalX[i] = a.literalX;
    x[i] = a.x;
    if constexpr (kPrecision == TermPrecision::quick) {
      static_assert(!Rescale);
      first[i] = quickExponential<kArithmetic>(a.kernelArgument) / 2.0;
      slack[i] = detail::kernelSlack(a, 1.0);
    } else {
      const NearestExponential e = nearestExponential<kArithmetic>(a.kernelArgument);
      first[i] = e.value / 2.0;
      slack[i] = detail::kernelSlack(a, e.slack);
    }
    second[i] = 0.0;
  }
  // The slots the library has to fill (never padding), marked by one bit each
  // in passes that vectorise, 64 slots a word, then visited bit by bit. The
  // quick terms take the circular slots' cosine and sine from the kernel.
  for (int word = 0; word * 64 < slots; ++word) {
    const int from = word * 64;
    const int to = std::min(slots, from + 64);
    std::uint64_t open = 0;
    for (int i = from; i < to; ++i) {
      open |= static_cast<std::uint64_t>(slack[i] > 0.0 ? 0 : 1) << (i - from);
    }
    if constexpr (detail::kernelSineCosine(kArithmetic, kPrecision)) {
      std::uint64_t circular = 0;
      for (int i = from; i < to; ++i) {
        circular |= static_cast<std::uint64_t>(detail::inSineCosineKernel(q[i], kh[i] * r[i]))
                    << (i - from);
      }
      // Fewer than four are left to the library: one block of the kernel
      // costs more than their calls.
      if (std::popcount(circular) >= detail::kSineCosineBlock) {
        open &= ~circular;
        detail::quickCircularValues<kArithmetic>(circular, from, kh, r, first, second);
      }
    }
    while (open != 0) {
      const int i = from + std::countr_zero(open);
      open &= open - 1;
      detail::libraryValue(q[i], kh[i], r[i], x[i], first, second, i);
    }
  }
  for (int i = 0; i < passSlots; ++i) {
    // The kernel's argument is not needed any more.
    const detail::SlotArguments<double> a{q[i], r[i], kh[i], literalX[i], x[i], 0.0};
    const auto terms = kPrecision == TermPrecision::quick
                           ? detail::quickSlotTerms(a, first[i], second[i])
                           : detail::slotTerms<Rescale>(a, first[i], second[i]);
    out.c[i] = terms.c;
    out.s[i] = terms.s;
    out.t[i] = terms.t;
    out.scale[i] = terms.scale;
  }
}

// The terms of up to kBlockSlots slots, all of them at once in one block of
// lanes (lane i holds slot i): straight-line code with no pass to set up,
// which is what a model of few layers spends most of its time on otherwise.
// The padding lanes past `slots` are worked too but never go to the library.
using TermBlock = LaneVector<kBlockSlots>;

template <bool Rescale, Arithmetic kArithmetic = Arithmetic::plain,
          TermPrecision kPrecision = TermPrecision::library>
[[gnu::always_inline]] inline detail::SlotTerms<TermBlock> blockTerms(double cc, double k,
                                                                      const double* velocity2,
                                                                      const double* slowness2,
                                                                      const double* thickness,
                                                                      int slots) {
  static_assert(!Rescale || kPrecision == TermPrecision::library);
  const TermBlock slotSlowness2 = kPrecision == TermPrecision::quick
                                      ? loadLanes<TermBlock>(slowness2)
                                      : broadcast<TermBlock>(0.0);
  const detail::SlotArguments<TermBlock> a = detail::slotArguments<Rescale, kPrecision>(
      cc, k, loadLanes<TermBlock>(velocity2), slotSlowness2, loadLanes<TermBlock>(thickness));
  TermBlock first;
  TermBlock slack;
  if constexpr (kPrecision == TermPrecision::quick) {
    first = quickExponential(a.kernelArgument) / 2.0;
    slack = broadcast<TermBlock>(1.0);
  } else {
    const NearestExponentialOf<TermBlock> e = nearestExponential(a.kernelArgument);
    first = e.value / 2.0;
    slack = e.slack;
  }
  TermBlock second = broadcast<TermBlock>(0.0);
  TermBlock lane;
  for (int i = 0; i < kBlockSlots; ++i) {
    lane[i] = i;
  }
  TermBlock settled = detail::kernelSlack(a, slack);
  if constexpr (detail::kernelSineCosine(kArithmetic, kPrecision)) {
    // The circular slots' cosine and sine from the kernel, all lanes at
    // once.
    const TermBlock theta = a.kh * a.r;
    const auto circular = detail::inSineCosineKernel(a.q, theta);
    const SineCosineOf<TermBlock> v = quickSineCosine(theta);
    first = pick(circular, v.cosine, first);
    second = pick(circular, v.sine, second);
    settled = pick(circular, broadcast<TermBlock>(1.0), settled);
  }
  const TermBlock standing =
      pick(lane < static_cast<double>(slots), settled, broadcast<TermBlock>(1.0));
  if (anyNotPositive(standing)) [[unlikely]] {
    for (int i = 0; i < slots; ++i) {
      if (!(standing[i] > 0.0)) {
        detail::libraryValue(a.q[i], a.kh[i], a.r[i], a.x[i], first, second, i);
      }
    }
  }
  if constexpr (kPrecision == TermPrecision::quick) {
    return detail::quickSlotTerms(a, first, second);
  } else {
    return detail::slotTerms<Rescale>(a, first, second);
  }
}

}  // namespace swcore
