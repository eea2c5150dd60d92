// SPDX-License-Identifier: GPL-3.0-or-later
// Notation (velocities in km/s, thicknesses in km, layers m = 1 .. N from the
// top, layer N the half-space):
//   c            trial phase velocity;  omega angular frequency (rad/s);
//                k = omega / c, the horizontal wavenumber (1/km)
//   alpha, beta, rho   P velocity, S velocity and density of a layer (only
//                ratios of densities enter)
//   gamma        2 beta[1]^2 / c^2, of the free surface
//   ra, rb       sqrt|1 - c^2/alpha^2|, sqrt|1 - c^2/beta^2| of a layer
//   ca, sa, ta   below alpha: cosh(k h ra), sinh(k h ra) / ra, -ra sinh(k h ra);
//                above alpha: cos(k h ra), sin(k h ra) / ra, ra sin(k h ra)
//                (likewise cb, sb, tb with rb)
//   eps, eta     rho[m+1] / rho[m] and 2 (beta[m]^2 - eps beta[m+1]^2) at the
//                interface below layer m;  e = eta / c^2, a = e + eps,
//                a' = e - 1 + eps, e' = e - 1
//   x1 .. x5     the five independent 2x2 minors of the product of layer
//                matrices, carried down from the free surface, where they are
//                -gamma (gamma - 1), 0, (gamma - 1)^2, gamma^2, 0
//   sa, sb of the half-space   -sqrt(1 - c^2/v^2) below v, +sqrt(c^2/v^2 - 1)
//                above, so D stays real for every c
//   F0           (-1)^(N-1) rho[1]^2 / (2 alpha[N]^2 beta[N]^2 rho[N]^2)
//   D(c)         the closing combination of x1 .. x5 with sa, sb of the
//                half-space, times c^4 F0 / (sa sb); its zeros below beta[N]
//                are the Rayleigh phase velocities
//   scale        in the rescaled form, each layer's hyperbolic terms are
//                divided by their growing exponential and the state carries
//                the product of those positive factors: D keeps its sign and
//                zeros where the plain terms would overflow
#include "dispersion/secular_function.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <type_traits>

#include "swcore.h"

namespace swcore {

// Constant-initialised: the library runs no initialisers of its own.
constinit std::atomic<std::uint64_t> secularEvaluationCount{0};

namespace {

struct ReductionState {
  double x1, x2, x3, x4, x5;
};

// Interface coefficients of layer m over layer m + 1 at one velocity, from
// epsilon = rho[m+1] / rho[m], e = eta / c^2, a = e + epsilon, a' = e - 1 +
// epsilon, e' = e - 1: the factors of the reduction that do not depend on the
// state, each formed as the reduction's formulas form it.
struct InterfaceTerms {
  double minusEps;
  double ae, mixed, apep;  // a e, a e' + a' e, a' e'
  double ee, aa;           // e^2, a^2
  double twoE, twoA;       // 2 e, 2 a
  double ep, ap;           // e', a'
};

// The vertical terms of one layer: P velocity (a), S velocity (b).
struct LayerTerms {
  double ca, sa, ta, cb, sb, tb;
};

// The vertical terms of every layer above the half-space at one velocity,
// worked out in passes over all layers that vectorise.
struct ReductionInputs {
  VerticalTerms terms;
  double x1Scale[kMaxLayers];  // filled when rescaling

  // Slot m holds the P terms of layer m, slot layers + m its S terms.
  LayerTerms termsAt(int m, int layers) const {
    const int b = layers + m;
    return {terms.c[m], terms.s[m], terms.t[m], terms.c[b], terms.s[b], terms.t[b]};
  }
};

// The interface coefficients of layer m over layer m + 1 at c^2 = cc. They
// come with the layer's step rather than from a pass of their own: the
// reduction waits on its running state, and they fill the wait.
[[gnu::always_inline]] inline InterfaceTerms interfaceTerms(const LayerConstants& model, int m,
                                                            double cc) {
  const double eps = model.densityRatio[m];
  const double e = model.eta[m] / cc;
  const double a = e + eps;
  const double ap = e - 1.0 + eps;
  const double ep = e - 1.0;
  return {-eps, a * e, a * ep + ap * e, ap * ep, e * e, a * a, 2.0 * e, 2.0 * a, ep, ap};
}

// The vertical terms of every layer above the half-space at c^2 = cc and
// k = omega / c.
template <bool Rescale, Arithmetic kArithmetic, TermPrecision kPrecision>
[[gnu::always_inline]] inline void prepareReduction(const LayerConstants& model, double cc,
                                                    double k, ReductionInputs& in) {
  const int layers = model.layerCount - 1;
  verticalTerms<Rescale, kArithmetic, kPrecision>(cc, k, model.velocity2, model.slowness2,
                                                  model.thickness, 2 * layers, in.terms);
  if constexpr (Rescale) {
    for (int m = 0; m < layers; ++m) {
      in.x1Scale[m] = in.terms.scale[layers + m] * in.terms.scale[m];
    }
  }
}

// One reduction step, the products grouped left to right in the order of the
// plain formulas, so that the values are theirs to the bit. Products of the state
// that two new values share are formed once.
[[gnu::always_inline]] inline ReductionState reduceOddLayer(const ReductionState& s,
                                                            const InterfaceTerms& i,
                                                            const LayerTerms& l, double x1Scale) {
  const double x2tb = s.x2 * l.tb, x3cb = s.x3 * l.cb, x4tb = s.x4 * l.tb, x5cb = s.x5 * l.cb;
  const double x2cb = s.x2 * l.cb, x3sb = s.x3 * l.sb, x4cb = s.x4 * l.cb, x5sb = s.x5 * l.sb;
  const double x1 = s.x1 * x1Scale;
  const double u = (x2tb * l.ca - x3cb * l.ca) + (x5cb + x4tb) * l.ta;
  const double v = ((x3sb + x2cb) * l.sa - x4cb * l.ca) + x5sb * l.ca;
  return {
      (i.ae * u - i.mixed * x1) + i.apep * v,
      i.minusEps * (((x2tb - x3cb) * l.sa - x4tb * l.ca) - x5cb * l.ca),
      i.ee * u + (i.ep * v - i.twoE * x1) * i.ep,
      i.aa * u + (i.ap * v - i.twoA * x1) * i.ap,
      i.minusEps * ((-x2cb * l.ca - x3sb * l.ca) - (x4cb - x5sb) * l.ta),
  };
}

[[gnu::always_inline]] inline ReductionState reduceEvenLayer(const ReductionState& s,
                                                             const InterfaceTerms& i,
                                                             const LayerTerms& l, double x1Scale) {
  const double x2cb = s.x2 * l.cb, x3tb = s.x3 * l.tb, x4cb = s.x4 * l.cb, x5tb = s.x5 * l.tb;
  const double x2sb = s.x2 * l.sb, x3cb = s.x3 * l.cb, x4sb = s.x4 * l.sb, x5cb = s.x5 * l.cb;
  const double x1 = s.x1 * x1Scale;
  const double u = ((x2cb - x3tb) * l.ta + x4cb * l.ca) + x5tb * l.ca;
  const double v = (x2sb * l.ca + x3cb * l.ca) - (x4sb - x5cb) * l.sa;
  return {
      (i.ae * u - i.mixed * x1) + i.apep * v,
      i.minusEps * (((x3cb + x2sb) * l.ta + x4sb * l.ca) - x5cb * l.ca),
      (i.twoA * x1 - i.ap * v) * i.ap - i.aa * u,
      (i.twoE * x1 - i.ep * v) * i.ep - i.ee * u,
      i.minusEps * (((x5tb + x4cb) * l.sa - x2cb * l.ca) + x3tb * l.ca),
  };
}

// Divides the state by its largest magnitude (a positive factor).
ReductionState normalised(const ReductionState& s) {
  const double m =
      std::max({std::abs(s.x1), std::abs(s.x2), std::abs(s.x3), std::abs(s.x4), std::abs(s.x5)});
  if (!(m > 0.0) || !std::isfinite(m)) {
    return s;
  }
  return {s.x1 / m, s.x2 / m, s.x3 / m, s.x4 / m, s.x5 / m};
}

// Vertical term of the half-space, real on both sides of its velocity.
double halfSpaceTerm(double cc, double v2) {
  const double q = 1.0 - cc / v2;
  return q >= 0.0 ? -std::sqrt(q) : std::sqrt(-q);
}

// The state at the free surface.
[[gnu::always_inline]] inline ReductionState surfaceState(const LayerConstants& model, double cc) {
  const double gamma = model.twoTopShear2 / cc;
  return {-gamma * (gamma - 1.0), 0.0, (gamma - 1.0) * (gamma - 1.0), gamma * gamma, 0.0};
}

// One step of the reduction, the state normalised when rescaling. Layers
// are counted from 0 here, so the odd layers of the formulas sit at even
// indices.
template <bool Rescale, bool OddLayer>
[[gnu::always_inline]] inline ReductionState reduced(const ReductionState& x,
                                                     const InterfaceTerms& i, const LayerTerms& l,
                                                     double x1Scale) {
  const ReductionState next =
      OddLayer ? reduceOddLayer(x, i, l, x1Scale) : reduceEvenLayer(x, i, l, x1Scale);
  return Rescale ? normalised(next) : next;
}

// The closing with the half-space.
[[gnu::always_inline]] inline double closedValue(const LayerConstants& model, double cc,
                                                 const ReductionState& x) {
  const double sa = halfSpaceTerm(cc, model.halfSpaceP2);
  const double sb = halfSpaceTerm(cc, model.halfSpaceS2);
  const double sab = sa * sb;
  const double bracket = (model.layerCount % 2 == 1)
                             ? ((x.x3 - sb * x.x2) - sab * x.x4) - sa * x.x5
                             : ((x.x4 + sa * x.x2) - sab * x.x3) + sb * x.x5;
  return bracket * cc * cc * model.halfSpaceFactor / sab;
}

// D(c) for `Layers` layers over the half-space, the common near-surface
// case: their at most kBlockSlots slots in one block of lanes and the
// reduction straight from its lanes, with no array in between.
template <bool Rescale, Arithmetic kArithmetic, TermPrecision kPrecision, int Layers>
[[gnu::always_inline]] inline double fewLayerValue(const LayerConstants& model, double c,
                                                   double* decay) {
  static_assert(Layers == 1 || Layers == 2);
  const double cc = c * c;
  const double k = model.omega / c;
  ReductionState x = surfaceState(model, cc);
  const detail::SlotTerms<TermBlock> terms = blockTerms<Rescale, kArithmetic, kPrecision>(
      cc, k, model.velocity2, model.slowness2, model.thickness, 2 * Layers);
  const auto layer = [&](int m) {
    const int b = Layers + m;
    return LayerTerms{terms.c[m], terms.s[m], terms.t[m], terms.c[b], terms.s[b], terms.t[b]};
  };
  const auto x1Scale = [&](int m) {
    return Rescale ? terms.scale[Layers + m] * terms.scale[m] : 1.0;
  };
  if (!Rescale && decay != nullptr) {
    double product = terms.scale[0];
    for (int i = 1; i < 2 * Layers; ++i) {
      product *= terms.scale[i];
    }
    *decay = product;
  }
  x = reduced<Rescale, true>(x, interfaceTerms(model, 0, cc), layer(0), x1Scale(0));
  if constexpr (Layers == 2) {
    x = reduced<Rescale, false>(x, interfaceTerms(model, 1, cc), layer(1), x1Scale(1));
  }
  return closedValue(model, cc, x);
}

// D(c) for any layer count in range: the half-space alone and models of one
// or two layers over it in straight-line code, deeper ones with their terms
// from array passes. An overflow of the literal state is carried to the end:
// once it has happened before the last layer, every later value, and D, is
// infinite or undefined.
template <bool Rescale, Arithmetic kArithmetic, TermPrecision kPrecision = TermPrecision::library>
[[gnu::always_inline]] inline double secularValue(const LayerConstants& model, double c,
                                                  double* decay = nullptr) {
  const int layers = model.layerCount - 1;
  if (layers == 0) {
    // The half-space alone.
    const double cc = c * c;
    if (decay != nullptr) {
      *decay = 1.0;
    }
    return closedValue(model, cc, surfaceState(model, cc));
  }
  if (layers == 1) {
    return fewLayerValue<Rescale, kArithmetic, kPrecision, 1>(model, c, decay);
  }
  if (layers == 2) {
    return fewLayerValue<Rescale, kArithmetic, kPrecision, 2>(model, c, decay);
  }
  const double cc = c * c;
  const double k = model.omega / c;
  ReductionState x = surfaceState(model, cc);
  ReductionInputs in;
  prepareReduction<Rescale, kArithmetic, kPrecision>(model, cc, k, in);
  if (!Rescale && decay != nullptr) {
    double product = 1.0;
    for (int i = 0; i < 2 * layers; ++i) {
      product *= in.terms.scale[i];
    }
    *decay = product;
  }
  const auto step = [&](auto oddLayer, int m) {
    x = reduced<Rescale, decltype(oddLayer)::value>(
        x, interfaceTerms(model, m, cc), in.termsAt(m, layers), Rescale ? in.x1Scale[m] : 1.0);
  };
  int m = 0;
  for (; m + 1 < layers; m += 2) {
    step(std::true_type{}, m);
    step(std::false_type{}, m + 1);
  }
  if (m < layers) {
    step(std::true_type{}, m);
  }
  return closedValue(model, cc, x);
}

// The literal evaluation is the hot path of every search: compiled for
// processors with AVX-512, where the passes over the layers run eight wide,
// for those with AVX2 and fused multiply-adds, where a block of four lanes
// fills one register, and for any x86-64. All compute the same values: the
// same operations in the same order (the file is compiled with
// -ffp-contract=off), fused multiply-adds only inside the exponential
// kernel of the array passes, whose settled values do not depend on them.
// The quick clones, with TermPrecision::quick terms, differ from those
// values by a few units in the last place of the terms, and from each other
// where the fused kernel rounds otherwise.
double literalBaseline(const LayerConstants& model, double c, double* decay) {
  return secularValue<false, Arithmetic::plain>(model, c, decay);
}

// The same with the quick terms, for the searches of the curve solver.
double quickBaseline(const LayerConstants& model, double c, double* decay) {
  return secularValue<false, Arithmetic::plain, TermPrecision::quick>(model, c, decay);
}

#if defined(__x86_64__)
[[gnu::target("avx2,fma")]] double literalAvx2(const LayerConstants& model, double c,
                                               double* decay) {
  return secularValue<false, Arithmetic::fused>(model, c, decay);
}

[[gnu::target("avx512f")]] double literalAvx512(const LayerConstants& model, double c,
                                                double* decay) {
  return secularValue<false, Arithmetic::fused>(model, c, decay);
}

[[gnu::target("avx2,fma")]] double quickAvx2(const LayerConstants& model, double c, double* decay) {
  return secularValue<false, Arithmetic::fused, TermPrecision::quick>(model, c, decay);
}

[[gnu::target("avx512f")]] double quickAvx512(const LayerConstants& model, double c,
                                              double* decay) {
  return secularValue<false, Arithmetic::fused, TermPrecision::quick>(model, c, decay);
}
#endif

// The rescaled evaluation only follows a literal one that overflowed.
double rescaledValue(const LayerConstants& model, double c) {
  return secularValue<true, Arithmetic::plain>(model, c);
}

LiteralEvaluation literalEvaluationFor(InstructionSet set, TermPrecision precision) {
  if (precision == TermPrecision::quick) {
#if defined(__x86_64__)
    return cloneFor<LiteralEvaluation>(set, quickBaseline, quickAvx2, quickAvx512);
#else
    return cloneFor<LiteralEvaluation>(set, quickBaseline, quickBaseline, quickBaseline);
#endif
  }
#if defined(__x86_64__)
  return cloneFor<LiteralEvaluation>(set, literalBaseline, literalAvx2, literalAvx512);
#else
  return cloneFor<LiteralEvaluation>(set, literalBaseline, literalBaseline, literalBaseline);
#endif
}

}  // namespace

SecularFunction::SecularFunction(const EngineState& state)
    : SecularFunction(state, fastestInstructionSet()) {}

SecularFunction::SecularFunction(const EngineState& state, InstructionSet set)
    : SecularFunction(SecularModel{state.layerCount, state.thickness, state.shearVelocity,
                                   state.pVelocity, state.density, state.omega},
                      set) {}

SecularFunction::SecularFunction(const SecularModel& model)
    : SecularFunction(model, fastestInstructionSet()) {}

SecularFunction::SecularFunction(const SecularModel& model, InstructionSet set)
    : SecularFunction(model, set, TermPrecision::library) {}

SecularFunction::SecularFunction(const SecularModel& model, InstructionSet set,
                                 TermPrecision precision)
    : literal_(literalEvaluationFor(set, precision)) {
  if (!layerCountInRange(model.layerCount)) {
    return;
  }
  LayerConstants& l = layers_;
  l.layerCount = model.layerCount;
  l.omega = model.omega;
  const int n = l.layerCount;
  const int layers = n - 1;
  for (int m = 0; m < layers; ++m) {
    l.velocity2[m] = model.pVelocity[m] * model.pVelocity[m];
    l.velocity2[layers + m] = model.shearVelocity[m] * model.shearVelocity[m];
    l.thickness[m] = model.thickness[m];
    l.thickness[layers + m] = model.thickness[m];
  }
  // The padding after the last slot (thickness 0).
  for (int i = 2 * layers; i < paddedSlotCount(2 * layers); ++i) {
    l.velocity2[i] = 1.0;
  }
  for (int i = 0; i < paddedSlotCount(2 * layers); ++i) {
    l.slowness2[i] = 1.0 / l.velocity2[i];
  }
  for (int m = 0; m < layers; ++m) {
    const double eps = model.density[m + 1] / model.density[m];
    const double below = model.shearVelocity[m + 1];
    l.densityRatio[m] = eps;
    l.eta[m] = 2.0 * (model.shearVelocity[m] * model.shearVelocity[m] - eps * below * below);
  }
  const double topShear = model.shearVelocity[0];
  const double halfP = model.pVelocity[n - 1];
  const double halfS = model.shearVelocity[n - 1];
  const double rhoTop = model.density[0];
  const double rhoHalf = model.density[n - 1];
  poles_ = {halfS, halfP};
  l.twoTopShear2 = 2.0 * topShear * topShear;
  l.halfSpaceP2 = halfP * halfP;
  l.halfSpaceS2 = halfS * halfS;
  const double sign = (n - 1) % 2 == 0 ? 1.0 : -1.0;
  l.halfSpaceFactor =
      sign * rhoTop * rhoTop / (2.0 * halfP * halfP * halfS * halfS * rhoHalf * rhoHalf);
}

double SecularFunction::operator()(double c) const {
  secularEvaluationCount.fetch_add(1, std::memory_order_relaxed);
  return value(c);
}

double SecularFunction::value(double c) const {
  const double d = evaluate<false>(c);
  if (std::isfinite(d)) {
    return d;
  }
  return evaluate<true>(c);
}

double SecularFunction::literal(double c) const {
  return evaluate<false>(c);
}

double SecularFunction::literal(double c, double& decay) const {
  if (layers_.layerCount == 0) {
    decay = std::numeric_limits<double>::quiet_NaN();
    return decay;
  }
  return literal_(layers_, c, &decay);
}

double SecularFunction::rescaled(double c) const {
  return evaluate<true>(c);
}

template <bool Rescale>
double SecularFunction::evaluate(double c) const {
  if (layers_.layerCount == 0) {
    return std::numeric_limits<double>::quiet_NaN();
  }
  return Rescale ? rescaledValue(layers_, c) : literal_(layers_, c, nullptr);
}

}  // namespace swcore

extern "C" double FRAYL(const double* phaseVelocity) {
  const swcore::SecularFunction d(swcore::engineState);
  return d(*phaseVelocity);
}
