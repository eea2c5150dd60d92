// The vertical functions of the layers above the half-space at one phase
// velocity: the hyperbolic or circular functions the secular function's
// layer reduction is built from.
#pragma once

#include <cmath>

#include "engine_state.h"
#include "exponential_kernel.h"

namespace swcore {

// Two slots per layer above the half-space: with L such layers, slot m holds
// the P velocity of layer m and slot L + m its S velocity.
inline constexpr int kTermSlots = 2 * kMaxLayers;

// Vertical functions of every slot at one velocity: C = cosh(khr),
// S = sinh(khr)/r, T = -r sinh(khr) where c is below the slot's velocity,
// cos(khr), sin(khr)/r, r sin(khr) where it is above. `scale` is the positive
// factor the terms carry (exp(-k|h|r) for evanescent terms when rescaling,
// else 1).
struct VerticalTerms {
  double c[kTermSlots];
  double s[kTermSlots];
  double t[kTermSlots];
  double scale[kTermSlots];
};

// Fills the vertical terms of `slots` slots for c^2 = cc and k = omega / c,
// from each slot's v^2 and thickness, each term formed by the same operations
// as the plain formulas with the C library's functions, so with the same
// value. Array passes, so that the arithmetic before and after the
// exponentials and sines runs over whole arrays (and vectorises), and the
// transcendental calls do not wait on one another.
// With Rescale the evanescent terms come multiplied by exp(-k|h|r), their
// growing half divided out, and at a slot's own velocity they take their
// continuous limits.
template <bool Rescale>
[[gnu::always_inline]] inline void verticalTerms(double cc, double k, const double* velocity2,
                                                 const double* thickness, int slots,
                                                 VerticalTerms& out) {
  double q[kTermSlots];
  double r[kTermSlots];
  double kh[kTermSlots];
  // Exponential where c is below the slot's velocity (x = -k h r, the value
  // 20 standing in for x > 1e20), cosine and sine where it is above. The
  // exponential of every slot first, in a loop that vectorises; then the
  // library's functions for the circular slots, for the rare arguments beyond
  // the kernel's range and for the few exponentials whose rounding the kernel
  // cannot settle, so that every value is the one the library's exp gives.
  // Rescaling takes the exponential of -|x|, the decaying half whatever the
  // sign of k h (a negative thickness or velocity flips it).
  double first[kTermSlots];
  double second[kTermSlots];
  double x[kTermSlots];
  double slack[kTermSlots];
  for (int i = 0; i < slots; ++i) {
    q[i] = 1.0 - cc / velocity2[i];
    r[i] = std::sqrt(q[i] >= 0.0 ? q[i] : -q[i]);
    kh[i] = k * thickness[i];
    const double literalX = -kh[i] * r[i];
    x[i] = literalX > 1e20 ? 20.0 : literalX;
    if constexpr (Rescale) {
      x[i] = -std::abs(x[i]);
    }
    const double above = x[i] < -kKernelArgumentLimit ? -kKernelArgumentLimit : x[i];
    const double inRange = above > kKernelArgumentLimit ? kKernelArgumentLimit : above;
    const NearestExponential e = nearestExponential(inRange);
    first[i] = e.value / 2.0;
    second[i] = 0.0;
    slack[i] = e.slack;
  }
  // The slots the pass below has to fill: a slack of the kernel's value that
  // is not positive, counted in a pass that vectorises and, only when there
  // are any, gathered without a branch per slot.
  long open = 0;
  for (int i = 0; i < slots; ++i) {
    const double evanescentSlack = q[i] >= 0.0 ? slack[i] : -1.0;
    slack[i] = std::abs(x[i]) <= kKernelArgumentLimit ? evanescentSlack : -1.0;
    open += slack[i] > 0.0 ? 0 : 1;
  }
  int fromLibrary[kTermSlots];
  int count = 0;
  if (open != 0) {
    for (int i = 0; i < slots; ++i) {
      fromLibrary[count] = i;
      count += slack[i] > 0.0 ? 0 : 1;
    }
  }
  for (int j = 0; j < count; ++j) {
    const int i = fromLibrary[j];
    if (q[i] < 0.0) {
      const double theta = kh[i] * r[i];
      first[i] = std::cos(theta);
      second[i] = std::sin(theta);
    } else {
      first[i] = std::exp(x[i]) / 2.0;
    }
  }
  for (int i = 0; i < slots; ++i) {
    const bool evanescent = q[i] >= 0.0;
    const double e = evanescent ? first[i] : 1.0;
    double growing;
    double difference;
    double scale;
    if constexpr (Rescale) {
      // The terms times exp(-|x|): cosh and sinh without their growing half
      // (the difference changes sign with x, as sinh does).
      const double e2 = 2.0 * e * e;
      const double literalX = -kh[i] * r[i];
      growing = e2 + 0.5;
      difference = (literalX > 0.0 ? 0.5 - e2 : e2 - 0.5);
      scale = evanescent ? 2.0 * e : 1.0;
    } else {
      const double g = 1.0 / (4.0 * e);
      growing = e + g;
      difference = e - g;
      scale = 1.0;
    }
    const double numerator = evanescent ? difference : second[i];
    out.c[i] = evanescent ? growing : first[i];
    out.s[i] = numerator / (evanescent ? -r[i] : r[i]);
    out.t[i] = numerator * r[i];
    out.scale[i] = scale;
  }
  if constexpr (Rescale) {
    // c equal to the slot's velocity: the continuous limits of the terms.
    for (int i = 0; i < slots; ++i) {
      if (q[i] == 0.0) {
        out.c[i] = 1.0;
        out.s[i] = kh[i];
        out.t[i] = 0.0;
        out.scale[i] = 1.0;
      }
    }
  }
}

}  // namespace swcore
