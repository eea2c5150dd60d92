#include "secular_function.h"

#include "swcore.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace swcore {

std::uint64_t secularEvaluationCount = 0;

namespace {

// Vertical functions of one layer for one velocity: C = cosh(khr),
// S = sinh(khr)/r, T = -r sinh(khr) below that velocity, and their circular
// counterparts above it. `scale` is the positive factor the terms were
// multiplied by (exp(-khr) for evanescent terms when rescaling, else 1).
struct LayerTerms {
  double c;
  double s;
  double t;
  double scale;
};

template <bool Rescale>
LayerTerms layerTerms(double cc, double kh, double v2) {
  const double q = 1.0 - cc / v2;
  if (Rescale && q == 0.0) {
    // c equal to the layer velocity: the continuous limits of the terms.
    return {1.0, kh, 0.0, 1.0};
  }
  if (q >= 0.0) {
    const double r = std::sqrt(q);
    double x = -kh * r;
    if (x > 1e20) {
      x = 20.0;
    }
    const double e = std::exp(x) / 2.0;
    if constexpr (Rescale) {
      // The terms times exp(x): cosh and sinh without their growing half.
      const double e2 = 2.0 * e * e;
      return {e2 + 0.5, (e2 - 0.5) / (-r), (e2 - 0.5) * r, 2.0 * e};
    } else {
      const double g = 1.0 / (4.0 * e);
      return {e + g, (e - g) / (-r), (e - g) * r, 1.0};
    }
  }
  const double r = std::sqrt(-q);
  const double theta = kh * r;
  const double sn = std::sin(theta);
  return {std::cos(theta), sn / r, r * sn, 1.0};
}

struct ReductionState {
  double x1, x2, x3, x4, x5;
};

// Interface terms of layer m over layer m + 1 at one velocity.
struct InterfaceTerms {
  double eps, a, ap, e, ep;
};

ReductionState reduceOddLayer(const ReductionState& s, const InterfaceTerms& i,
                              const LayerTerms& pa, const LayerTerms& sb, double x1Scale) {
  const double ca = pa.c, sa = pa.s, ta = pa.t;
  const double cb = sb.c, sbb = sb.s, tb = sb.t;
  const double u = s.x2 * tb * ca - s.x3 * cb * ca + (s.x5 * cb + s.x4 * tb) * ta;
  const double v = (s.x3 * sbb + s.x2 * cb) * sa - s.x4 * cb * ca + s.x5 * sbb * ca;
  const double x1 = s.x1 * x1Scale;
  return {
      i.a * i.e * u - (i.a * i.ep + i.ap * i.e) * x1 + i.ap * i.ep * v,
      -i.eps * ((s.x2 * tb - s.x3 * cb) * sa - s.x4 * tb * ca - s.x5 * cb * ca),
      i.e * i.e * u + (i.ep * v - 2.0 * i.e * x1) * i.ep,
      i.a * i.a * u + (i.ap * v - 2.0 * i.a * x1) * i.ap,
      -i.eps * (-s.x2 * cb * ca - s.x3 * sbb * ca - (s.x4 * cb - s.x5 * sbb) * ta),
  };
}

ReductionState reduceEvenLayer(const ReductionState& s, const InterfaceTerms& i,
                               const LayerTerms& pa, const LayerTerms& sb, double x1Scale) {
  const double ca = pa.c, sa = pa.s, ta = pa.t;
  const double cb = sb.c, sbb = sb.s, tb = sb.t;
  const double u = (s.x2 * cb - s.x3 * tb) * ta + s.x4 * cb * ca + s.x5 * tb * ca;
  const double v = s.x2 * sbb * ca + s.x3 * cb * ca - (s.x4 * sbb - s.x5 * cb) * sa;
  const double x1 = s.x1 * x1Scale;
  return {
      i.a * i.e * u - (i.a * i.ep + i.ap * i.e) * x1 + i.ap * i.ep * v,
      -i.eps * ((s.x3 * cb + s.x2 * sbb) * ta + s.x4 * sbb * ca - s.x5 * cb * ca),
      (2.0 * i.a * x1 - i.ap * v) * i.ap - i.a * i.a * u,
      (2.0 * i.e * x1 - i.ep * v) * i.ep - i.e * i.e * u,
      -i.eps * ((s.x5 * tb + s.x4 * cb) * sa - s.x2 * cb * ca + s.x3 * tb * ca),
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

}  // namespace

SecularFunction::SecularFunction(const EngineState& state) {
  if (!layerCountInRange(state.layerCount)) {
    return;
  }
  layerCount_ = state.layerCount;
  omega_ = state.omega;
  const int n = layerCount_;
  for (int m = 0; m < n; ++m) {
    thickness_[m] = state.thickness[m];
    p2_[m] = state.pVelocity[m] * state.pVelocity[m];
    s2_[m] = state.shearVelocity[m] * state.shearVelocity[m];
  }
  for (int m = 0; m + 1 < n; ++m) {
    densityRatio_[m] = state.density[m + 1] / state.density[m];
    eta_[m] = 2.0 * (s2_[m] - densityRatio_[m] * s2_[m + 1]);
  }
  twoTopShear2_ = 2.0 * s2_[0];
  halfSpaceP2_ = p2_[n - 1];
  halfSpaceS2_ = s2_[n - 1];
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
  const double cc = c * c;
  const double k = omega_ / c;
  const double gamma = twoTopShear2_ / cc;
  ReductionState x{-gamma * (gamma - 1.0), 0.0, (gamma - 1.0) * (gamma - 1.0), gamma * gamma, 0.0};

  const int n = layerCount_;
  for (int m = 0; m + 1 < n; ++m) {
    const double e = eta_[m] / cc;
    const double eps = densityRatio_[m];
    const InterfaceTerms it{eps, e + eps, e - 1.0 + eps, e, e - 1.0};
    const double kh = k * thickness_[m];
    const LayerTerms pa = layerTerms<Rescale>(cc, kh, p2_[m]);
    const LayerTerms sb = layerTerms<Rescale>(cc, kh, s2_[m]);
    const double x1Scale = Rescale ? pa.scale * sb.scale : 1.0;
    // Layer m + 1 counted from one: odd layers sit at even indices.
    x = (m % 2 == 0) ? reduceOddLayer(x, it, pa, sb, x1Scale)
                     : reduceEvenLayer(x, it, pa, sb, x1Scale);
    if constexpr (Rescale) {
      x = normalised(x);
    }
  }

  const double sa = halfSpaceTerm(cc, halfSpaceP2_);
  const double sb = halfSpaceTerm(cc, halfSpaceS2_);
  const double bracket = (n % 2 == 1) ? x.x3 - sb * x.x2 - sa * sb * x.x4 - sa * x.x5
                                      : x.x4 + sa * x.x2 - sa * sb * x.x3 + sb * x.x5;
  return bracket * (cc * cc) * halfSpaceFactor_ / (sa * sb);
}

}  // namespace swcore

extern "C" double FRAYL(const double* phaseVelocity) {
  const swcore::SecularFunction d(swcore::engineState);
  return d(*phaseVelocity);
}
