// SPDX-License-Identifier: GPL-3.0-or-later
// Notation (velocities in km/s, thicknesses in km, z downward, layers
// m = 1 .. N from the top, layer N the half-space):
//   c            trial phase velocity;  omega angular frequency (rad/s);
//                k = omega / c, the horizontal wavenumber (1/km)
//   beta, rho    S velocity and density of a layer (only ratios of
//                densities enter);  mu = rho beta^2
//   mu'          mu of a layer over mu of the half-space
//   v(z)         the SH displacement, v(z) exp(i (k x - omega t))
//   sigma(z)     the traction mu dv/dz over k mu[N]: dimensionless
//   rb           sqrt|1 - c^2/beta^2| of a layer
//   C, s, t      below beta: cosh(k h rb), sinh(k h rb) / rb, -rb sinh(k h rb);
//                above beta: cos(k h rb), sin(k h rb) / rb, rb sin(k h rb)
//                (the vertical terms of the Rayleigh function's S slots)
//   start        v = 1, sigma = -sqrt(1 - c^2/beta[N]^2) at the top of the
//                half-space: the motion that decays into it (continued as
//                +sqrt(c^2/beta[N]^2 - 1) above beta[N], so F stays real)
//   one layer    from its bottom (v, sigma) to its top (v', sigma'):
//                v' = C v - (s / mu') sigma,  sigma' = mu' t v + C sigma
//   F(c)         sigma at the free surface; its zeros below beta[N] are the
//                Love phase velocities
//   scale        in the rescaled form, each layer's terms are divided by
//                exp(k h rb) where the motion decays, and the state by its
//                largest magnitude: F keeps its sign and zeros where the
//                plain terms would overflow
//
// One layer over a half-space gives Love's equation: F = 0 where
// tan(k h rb[1]) = mu[2] rb[2] / (mu[1] rb[1]) above beta[1].
#include "dispersion/love_secular_function.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace swcore {

namespace {

struct LoveState {
  double v, sigma;
};

// The half-space's vertical term, real on both sides of its velocity.
double decayingTraction(double cc, double v2) {
  const double q = 1.0 - cc / v2;
  return q >= 0.0 ? -std::sqrt(q) : std::sqrt(-q);
}

[[gnu::always_inline]] inline LoveState throughLayer(const LoveState& x, double c, double s,
                                                     double t, double modulus,
                                                     double inverseModulus) {
  return {c * x.v - s * inverseModulus * x.sigma, modulus * t * x.v + c * x.sigma};
}

LoveState normalised(const LoveState& x) {
  const double m = std::max(std::abs(x.v), std::abs(x.sigma));
  if (!(m > 0.0) || !std::isfinite(m)) {
    return x;
  }
  return {x.v / m, x.sigma / m};
}

// F from the half-space up through `layers` layers whose terms `terms`
// holds (slot m is layer m).
template <bool Rescale, class Terms>
[[gnu::always_inline]] inline double surfaceTraction(const LoveLayerConstants& model, double cc,
                                                     const Terms& terms, int layers) {
  LoveState x{1.0, decayingTraction(cc, model.halfSpaceS2)};
  for (int m = layers - 1; m >= 0; --m) {
    x = throughLayer(x, terms.c[m], terms.s[m], terms.t[m], model.modulus[m],
                     model.inverseModulus[m]);
    if constexpr (Rescale) {
      x = normalised(x);
    }
  }
  return x.sigma;
}

template <bool Rescale, Arithmetic kArithmetic = Arithmetic::plain,
          TermPrecision kPrecision = TermPrecision::library>
[[gnu::always_inline]] inline double loveValue(const LoveLayerConstants& model, double c,
                                               double* decay = nullptr) {
  const int layers = model.layerCount - 1;
  const double cc = c * c;
  const double k = model.omega / c;
  // The product of the evanescent layers' exp(-k h r), where asked for.
  const auto decayOf = [&](const auto& terms) {
    if (!Rescale && decay != nullptr) {
      double product = 1.0;
      for (int m = 0; m < layers; ++m) {
        product *= terms.scale[m];
      }
      *decay = product;
    }
  };
  if (layers <= kBlockSlots) {
    // One block of lanes holds every layer's terms.
    const detail::SlotTerms<TermBlock> terms = blockTerms<Rescale, kArithmetic, kPrecision>(
        cc, k, model.velocity2, model.slowness2, model.thickness, layers);
    decayOf(terms);
    return surfaceTraction<Rescale>(model, cc, terms, layers);
  }
  VerticalTerms terms;
  verticalTerms<Rescale, kArithmetic, kPrecision>(cc, k, model.velocity2, model.slowness2,
                                                  model.thickness, layers, terms);
  decayOf(terms);
  return surfaceTraction<Rescale>(model, cc, terms, layers);
}

// The literal propagation for each instruction set: the same code, the
// clones with the array passes' exponential kernel in fused multiply-adds.
double literalBaseline(const LoveLayerConstants& model, double c, double* decay) {
  return loveValue<false>(model, c, decay);
}

// The same with the quick terms, for the searches of the curve solver.
double quickBaseline(const LoveLayerConstants& model, double c, double* decay) {
  return loveValue<false, Arithmetic::plain, TermPrecision::quick>(model, c, decay);
}

#if defined(__x86_64__)
[[gnu::target("avx2,fma")]] double literalAvx2(const LoveLayerConstants& model, double c,
                                               double* decay) {
  return loveValue<false, Arithmetic::fused>(model, c, decay);
}

[[gnu::target("avx512f")]] double literalAvx512(const LoveLayerConstants& model, double c,
                                                double* decay) {
  return loveValue<false, Arithmetic::fused>(model, c, decay);
}

[[gnu::target("avx2,fma")]] double quickAvx2(const LoveLayerConstants& model, double c,
                                             double* decay) {
  return loveValue<false, Arithmetic::fused, TermPrecision::quick>(model, c, decay);
}

[[gnu::target("avx512f")]] double quickAvx512(const LoveLayerConstants& model, double c,
                                              double* decay) {
  return loveValue<false, Arithmetic::fused, TermPrecision::quick>(model, c, decay);
}
#endif

double rescaledValue(const LoveLayerConstants& model, double c) {
  return loveValue<true>(model, c);
}

using Evaluation = double (*)(const LoveLayerConstants& model, double c, double* decay);

Evaluation literalEvaluationFor(InstructionSet set, TermPrecision precision) {
  if (precision == TermPrecision::quick) {
#if defined(__x86_64__)
    return cloneFor<Evaluation>(set, quickBaseline, quickAvx2, quickAvx512);
#else
    return cloneFor<Evaluation>(set, quickBaseline, quickBaseline, quickBaseline);
#endif
  }
#if defined(__x86_64__)
  return cloneFor<Evaluation>(set, literalBaseline, literalAvx2, literalAvx512);
#else
  return cloneFor<Evaluation>(set, literalBaseline, literalBaseline, literalBaseline);
#endif
}

}  // namespace

LoveSecularFunction::LoveSecularFunction(const SecularModel& model)
    : LoveSecularFunction(model, fastestInstructionSet()) {}

LoveSecularFunction::LoveSecularFunction(const SecularModel& model, InstructionSet set)
    : LoveSecularFunction(model, set, TermPrecision::library) {}

LoveSecularFunction::LoveSecularFunction(const SecularModel& model, InstructionSet set,
                                         TermPrecision precision)
    : literal_(literalEvaluationFor(set, precision)) {
  if (!layerCountInRange(model.layerCount)) {
    return;
  }
  LoveLayerConstants& l = layers_;
  l.layerCount = model.layerCount;
  l.omega = model.omega;
  const int n = model.layerCount;
  const int layers = n - 1;
  const double halfS = model.shearVelocity[n - 1];
  const double halfModulus = model.density[n - 1] * halfS * halfS;
  l.halfSpaceS2 = halfS * halfS;
  for (int m = 0; m < layers; ++m) {
    const double beta = model.shearVelocity[m];
    l.velocity2[m] = beta * beta;
    l.thickness[m] = model.thickness[m];
    l.modulus[m] = model.density[m] * beta * beta / halfModulus;
    l.inverseModulus[m] = 1.0 / l.modulus[m];
  }
  // The padding after the last slot (thickness 0).
  for (int i = layers; i < paddedSlotCount(layers) || i < kBlockSlots; ++i) {
    l.velocity2[i] = 1.0;
  }
  for (int i = 0; i < paddedSlotCount(layers) || i < kBlockSlots; ++i) {
    l.slowness2[i] = 1.0 / l.velocity2[i];
  }
}

double LoveSecularFunction::value(double c) const {
  const double f = evaluate<false>(c);
  return std::isfinite(f) ? f : evaluate<true>(c);
}

double LoveSecularFunction::literal(double c) const {
  return evaluate<false>(c);
}

double LoveSecularFunction::literal(double c, double& decay) const {
  if (layers_.layerCount == 0) {
    decay = std::numeric_limits<double>::quiet_NaN();
    return decay;
  }
  return literal_(layers_, c, &decay);
}

double LoveSecularFunction::rescaled(double c) const {
  return evaluate<true>(c);
}

template <bool Rescale>
double LoveSecularFunction::evaluate(double c) const {
  if (layers_.layerCount == 0) {
    return std::numeric_limits<double>::quiet_NaN();
  }
  return Rescale ? rescaledValue(layers_, c) : literal_(layers_, c, nullptr);
}

}  // namespace swcore
