#include "secular_function.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "swcore.h"

namespace swcore {

std::uint64_t secularEvaluationCount = 0;

namespace {

struct ReductionState {
  double x1, x2, x3, x4, x5;
};

// Interface coefficients of layer m over layer m + 1 at one velocity, from
// epsilon = rho[m+1] / rho[m], e = eta / c^2, a = e + epsilon, a' = e - 1 +
// epsilon, e' = e - 1.
struct InterfaceTerms {
  double eps;
  double ae, apep, mixed;   // a e, a' e', a e' + a' e
  double ee, epep, twoEep;  // e^2, e'^2, 2 e e'
  double aa, apap, twoAap;  // a^2, a'^2, 2 a a'
};

InterfaceTerms interfaceTerms(double eps, double e) {
  const double a = e + eps;
  const double ap = e - 1.0 + eps;
  const double ep = e - 1.0;
  return {eps,     a * e,        ap * ep, a * ep + ap * e, e * e,
          ep * ep, 2.0 * e * ep, a * a,   ap * ap,         2.0 * a * ap};
}

// Products of one P-velocity term (second letter) and one S-velocity term
// (first letter) of a layer: tc = T_beta C_alpha and so on.
struct LayerProducts {
  double cc, tc, ct, tt, cs, ss, sc, ts, st;
};

LayerProducts layerProducts(double ca, double sa, double ta, double cb, double sb, double tb) {
  return {cb * ca, tb * ca, cb * ta, tb * ta, cb * sa, sb * sa, sb * ca, tb * sa, sb * ta};
}

// One reduction step. The products and coefficients do not depend on the
// state, so each new value is a short sum over the old ones.
ReductionState reduceOddLayer(const ReductionState& s, const InterfaceTerms& i,
                              const LayerProducts& p, double x1Scale) {
  const double u = (s.x2 * p.tc - s.x3 * p.cc) + (s.x5 * p.ct + s.x4 * p.tt);
  const double v = (s.x3 * p.ss + s.x2 * p.cs) + (s.x5 * p.sc - s.x4 * p.cc);
  const double x1 = s.x1 * x1Scale;
  return {
      (i.ae * u + i.apep * v) - i.mixed * x1,
      -i.eps * ((s.x2 * p.ts - s.x3 * p.cs) - (s.x4 * p.tc + s.x5 * p.cc)),
      (i.ee * u + i.epep * v) - i.twoEep * x1,
      (i.aa * u + i.apap * v) - i.twoAap * x1,
      -i.eps * (-(s.x2 * p.cc + s.x3 * p.sc) - (s.x4 * p.ct - s.x5 * p.st)),
  };
}

ReductionState reduceEvenLayer(const ReductionState& s, const InterfaceTerms& i,
                               const LayerProducts& p, double x1Scale) {
  const double u = (s.x2 * p.ct - s.x3 * p.tt) + (s.x4 * p.cc + s.x5 * p.tc);
  const double v = (s.x2 * p.sc + s.x3 * p.cc) - (s.x4 * p.ss - s.x5 * p.cs);
  const double x1 = s.x1 * x1Scale;
  return {
      (i.ae * u + i.apep * v) - i.mixed * x1,
      -i.eps * ((s.x3 * p.ct + s.x2 * p.st) + (s.x4 * p.sc - s.x5 * p.cc)),
      i.twoAap * x1 - (i.apap * v + i.aa * u),
      i.twoEep * x1 - (i.epep * v + i.ee * u),
      -i.eps * ((s.x5 * p.ts + s.x4 * p.cs) - (s.x2 * p.cc - s.x3 * p.tc)),
  };
}

bool allFinite(const ReductionState& s) {
  constexpr double kMax = std::numeric_limits<double>::max();
  return std::abs(s.x1) <= kMax && std::abs(s.x2) <= kMax && std::abs(s.x3) <= kMax &&
         std::abs(s.x4) <= kMax && std::abs(s.x5) <= kMax;
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

}  // namespace

SecularFunction::SecularFunction(const EngineState& state) {
  if (!layerCountInRange(state.layerCount)) {
    return;
  }
  layerCount_ = state.layerCount;
  omega_ = state.omega;
  const int n = layerCount_;
  for (int m = 0; m + 1 < n; ++m) {
    inverseVelocity2_[2 * m] = 1.0 / (state.pVelocity[m] * state.pVelocity[m]);
    inverseVelocity2_[2 * m + 1] = 1.0 / (state.shearVelocity[m] * state.shearVelocity[m]);
    thickness_[2 * m] = state.thickness[m];
    thickness_[2 * m + 1] = state.thickness[m];
  }
  for (int m = 0; m + 1 < n; ++m) {
    const double s2 = state.shearVelocity[m] * state.shearVelocity[m];
    const double s2Below = state.shearVelocity[m + 1] * state.shearVelocity[m + 1];
    densityRatio_[m] = state.density[m + 1] / state.density[m];
    eta_[m] = 2.0 * (s2 - densityRatio_[m] * s2Below);
  }
  twoTopShear2_ = 2.0 * (state.shearVelocity[0] * state.shearVelocity[0]);
  halfSpaceP2_ = state.pVelocity[n - 1] * state.pVelocity[n - 1];
  halfSpaceS2_ = state.shearVelocity[n - 1] * state.shearVelocity[n - 1];
  const double sign = (n - 1) % 2 == 0 ? 1.0 : -1.0;
  const double rhoTop = state.density[0];
  const double rhoHalf = state.density[n - 1];
  halfSpaceFactor_ =
      sign * (rhoTop * rhoTop) / (2.0 * halfSpaceP2_ * halfSpaceS2_ * (rhoHalf * rhoHalf));
}

double SecularFunction::operator()(double c) const {
  ++secularEvaluationCount;
  const double d = evaluate<false>(c);
  if (std::isfinite(d)) {
    return d;
  }
  return evaluate<true>(c);
}

double SecularFunction::literal(double c) const {
  return evaluate<false>(c);
}

double SecularFunction::rescaled(double c) const {
  return evaluate<true>(c);
}

template <bool Rescale>
double SecularFunction::evaluate(double c) const {
  if (layerCount_ == 0) {
    return std::numeric_limits<double>::quiet_NaN();
  }
  const int n = layerCount_;
  const int layers = n - 1;
  const double cc = c * c;
  const double cInverse = 1.0 / c;
  const double ccInverse = cInverse * cInverse;
  const double k = omega_ * cInverse;
  const double gamma = twoTopShear2_ * ccInverse;
  ReductionState x{-gamma * (gamma - 1.0), 0.0, (gamma - 1.0) * (gamma - 1.0), gamma * gamma, 0.0};

  VerticalTerms terms;
  verticalTerms<Rescale>(cc, k, inverseVelocity2_, thickness_, 2 * layers, terms);
  double e[kMaxLayers];
  for (int m = 0; m < layers; ++m) {
    e[m] = eta_[m] * ccInverse;
  }

  for (int m = 0; m < layers; ++m) {
    const InterfaceTerms it = interfaceTerms(densityRatio_[m], e[m]);
    const int a = 2 * m;
    const int b = 2 * m + 1;
    const LayerProducts p =
        layerProducts(terms.c[a], terms.s[a], terms.t[a], terms.c[b], terms.s[b], terms.t[b]);
    const double x1Scale = Rescale ? terms.scale[a] * terms.scale[b] : 1.0;
    // Layer m + 1 counted from one: odd layers sit at even indices.
    x = (m % 2 == 0) ? reduceOddLayer(x, it, p, x1Scale) : reduceEvenLayer(x, it, p, x1Scale);
    if constexpr (Rescale) {
      x = normalised(x);
    } else if (m + 1 < layers && !allFinite(x)) {
      // Once the state has overflowed before the last layer, D cannot come
      // out finite: stop here, the caller rescales.
      return std::numeric_limits<double>::quiet_NaN();
    }
  }

  const double sa = halfSpaceTerm(cc, halfSpaceP2_);
  const double sb = halfSpaceTerm(cc, halfSpaceS2_);
  const double sab = sa * sb;
  const double closingFactor = (cc * cc) * halfSpaceFactor_ / sab;
  const double bracket = (n % 2 == 1) ? (x.x3 - sb * x.x2) - (sab * x.x4 + sa * x.x5)
                                      : (x.x4 + sa * x.x2) - (sab * x.x3 - sb * x.x5);
  return bracket * closingFactor;
}

}  // namespace swcore

extern "C" double FRAYL(const double* phaseVelocity) {
  const swcore::SecularFunction d(swcore::engineState);
  return d(*phaseVelocity);
}
