// SPDX-License-Identifier: GPL-3.0-or-later
// Notation (depths and thicknesses in km, velocities in km/s, z downward,
// layers m = 1 .. N from the top, layer N the half-space):
//   c, omega, k       phase velocity, angular frequency, k = omega / c
//   alpha, beta, rho  P and S velocity and density of a layer;
//                     mu = rho beta^2, lambda = rho alpha^2 - 2 mu
//   s                 k mu[N]: the tractions are carried divided by it, so
//                     that every part of the motion is of one order
//   y                 the scaled motion (r1, r2, r3 / s, r4 / s), Love
//                     (l1, l2 / s); y' = A y in a layer, A constant there
//   nu_a^2, nu_b^2    k^2 (1 - c^2/alpha^2), k^2 (1 - c^2/beta^2): the
//                     eigenvalues of A^2 (A's are +-nu_a, +-nu_b)
//   C(h), S(h)        cosh(nu h), sinh(nu h) / nu for nu^2 > 0, cos and
//                     sin / |nu| below 0, 1 and h at 0: even and odd in h
//   P(h)              exp(A h), the motion carried down by h; as A^2 has
//                     the two eigenvalues nu_a^2 and nu_b^2,
//                     P = [(C_a - C_b) A^2 + (C_b nu_a^2 - C_a nu_b^2) +
//                          ((S_a - S_b) A^2 + S_b nu_a^2 - S_a nu_b^2) A]
//                         / (nu_a^2 - nu_b^2)
//                     (Love: P = C_b + S_b A), real for every c and never
//                     singular, nu_a^2 - nu_b^2 = omega^2 (1/beta^2 -
//                     1/alpha^2)
//   Q, R              the orthonormal pair of motions at a sub-layer's top
//                     and the triangular factor that made it orthonormal
//   a                 the mode's coefficients on Q at each sub-layer's top
#include "dispersion/eigenfunction.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <limits>
#include <numbers>

#include "dispersion/love_secular_function.h"
#include "dispersion/secular_function.h"
#include "dispersion/zero_refinement.h"

namespace swcore {

namespace {

using Vector = std::array<double, 4>;
using Matrix = detail::EigenMatrix;
using LayerSystem = detail::EigenLayer;

constexpr double kMetresPerKilometre = 1000.0;

// From the engine's units to SI: a traction (for a displacement of 1 m) and
// the integrals (see the header's units).
constexpr double kTractionToSi = 1e3;  // rho km / s^2 -> Pa per m
constexpr double kI1ToSi = 1e3;        // rho km
constexpr double kI2ToSi = 1e9;        // rho (km/s)^2 km
constexpr double kI3ToSi = 1e6;        // rho (km/s)^2 (Rayleigh)
constexpr double kI4ToSi = 1e3;        // rho (km/s)^2 / km (and Love's I3)

// 2: the largest change of the motion across one sub-layer, as its vertical
// wavenumber times the thickness. The pair carried through keeps its second
// motion to within rounding times e^4 after each orthonormalisation, and
// the 8-point quadrature integrates products of such motions to 1e-12 (a
// bound of 1 gave the same integrals to 1e-9 at twice the cost; 4 let
// Rayleigh's principle fail by 1e-8).
constexpr double kLargestSubLayerPhase = 2.0;

// 8: the same for Resolution::coarse. The orthonormalisation still keeps
// the second motion to rounding times e^16, and the responses of modes 0-4
// of 24 random models at 5, 30 and 140 Hz, each from the same refined zero,
// came within 7e-5 of the fine ones (16 let them stray by 4 %).
constexpr double kCoarseSubLayerPhase = 8.0;

// 1e-6 of c: the bracket around the given root in which its zero is
// refined, a hundred times the solver's tolerance at 0.1 km/s.
constexpr double kRootSpread = 1e-6;

// 8-point Gauss-Legendre nodes and weights on [-1, 1].
constexpr double kGaussNodes[4] = {0.1834346424956498, 0.5255324099163290, 0.7966664774136267,
                                   0.9602898564975363};
constexpr double kGaussWeights[4] = {0.3626837833783620, 0.3137066458778873, 0.2223810344533745,
                                     0.1012285362903763};

Matrix product(const Matrix& a, const Matrix& b, int n) {
  Matrix p{};
  for (int i = 0; i < n; ++i) {
    for (int j = 0; j < n; ++j) {
      double sum = 0.0;
      for (int l = 0; l < n; ++l) {
        sum += a[i][l] * b[l][j];
      }
      p[i][j] = sum;
    }
  }
  return p;
}

Vector apply(const Matrix& a, const Vector& y, int n) {
  Vector out{};
  for (int i = 0; i < n; ++i) {
    double sum = 0.0;
    for (int j = 0; j < n; ++j) {
      sum += a[i][j] * y[j];
    }
    out[i] = sum;
  }
  return out;
}

double dot(const Vector& a, const Vector& b, int n) {
  double sum = 0.0;
  for (int i = 0; i < n; ++i) {
    sum += a[i] * b[i];
  }
  return sum;
}

struct EvenOdd {
  double even;  // C(h)
  double odd;   // S(h)
};

EvenOdd evenOdd(double nu2, double h) {
  if (nu2 > 0.0) {
    // cosh and sinh from one expm1: with m = e^x - 1, sinh x = (m + m / e^x) / 2,
    // a sum of two terms of one sign, so as exact near x = 0 as the library's.
    // Beyond |x| = 700 (never inside a piece, whose phase is at most 8) e^x
    // or its inverse overflows, and the library's functions take over.
    const double nu = std::sqrt(nu2);
    const double x = nu * h;
    if (std::abs(x) > 700.0) {
      return {std::cosh(x), std::sinh(x) / nu};
    }
    const double m = std::expm1(x);
    const double e = m + 1.0;
    return {0.5 * (e + 1.0 / e), 0.5 * (m + m / e) / nu};
  }
  if (nu2 < 0.0) {
    const double nu = std::sqrt(-nu2);
    return {std::cos(nu * h), std::sin(nu * h) / nu};
  }
  return {1.0, h};
}

LayerSystem layerSystem(double vs, double vp, double rho, double c, double omega, double s,
                        WaveType wave) {
  LayerSystem l{};
  const double k = omega / c;
  l.rho = rho;
  l.mu = rho * vs * vs;
  l.lambda = rho * vp * vp - 2.0 * l.mu;
  l.nuA2 = k * k * (1.0 - c * c / (vp * vp));
  l.nuB2 = k * k * (1.0 - c * c / (vs * vs));
  const double w2 = omega * omega;
  if (wave == WaveType::love) {
    l.n = 2;
    l.a[0][1] = s / l.mu;
    l.a[1][0] = (l.mu * k * k - rho * w2) / s;
  } else {
    l.n = 4;
    const double l2m = l.lambda + 2.0 * l.mu;
    l.a[0][1] = k;
    l.a[0][2] = s / l.mu;
    l.a[1][0] = -k * l.lambda / l2m;
    l.a[1][3] = s / l2m;
    l.a[2][0] = (k * k * 4.0 * l.mu * (l.lambda + l.mu) / l2m - rho * w2) / s;
    l.a[2][3] = k * l.lambda / l2m;
    l.a[3][1] = -rho * w2 / s;
    l.a[3][2] = -k;
  }
  l.a2 = product(l.a, l.a, l.n);
  l.a3 = product(l.a2, l.a, l.n);
  return l;
}

// The motions that decay into the half-space, scaled, with their decay
// rates (one for Love).
struct DecayingMotions {
  Vector v[2];
  double nu[2];
  int count;
};

DecayingMotions decayingMotions(const LayerSystem& h, double k, double s) {
  DecayingMotions d{};
  const double nuB = std::sqrt(std::max(0.0, h.nuB2));
  if (h.n == 2) {
    d.count = 1;
    d.v[0] = {1.0, -h.mu * nuB / s, 0.0, 0.0};
    d.nu[0] = nuB;
    return d;
  }
  const double nuA = std::sqrt(std::max(0.0, h.nuA2));
  const double l2m = h.lambda + 2.0 * h.mu;
  d.count = 2;
  // exp(-nu z) solutions: the P motion (k, nu_a, -2 mu k nu_a,
  // lambda k^2 - (lambda + 2 mu) nu_a^2) and the S motion (nu_b, k,
  // -mu (nu_b^2 + k^2), -2 mu k nu_b), tractions scaled.
  d.v[0] = {k, nuA, -2.0 * h.mu * k * nuA / s, (h.lambda * k * k - l2m * nuA * nuA) / s};
  d.v[1] = {nuB, k, -h.mu * (nuB * nuB + k * k) / s, -2.0 * h.mu * k * nuB / s};
  d.nu[0] = nuA;
  d.nu[1] = nuB;
  return d;
}

// An orthonormal pair (or one unit motion) and its triangular factor.
struct Orthonormal {
  Vector q[2];
  double r00 = 0.0, r01 = 0.0, r11 = 0.0;
};

Orthonormal orthonormalised(const Vector (&y)[2], int columns, int n) {
  Orthonormal o;
  o.r00 = std::sqrt(dot(y[0], y[0], n));
  for (int i = 0; i < n; ++i) {
    o.q[0][i] = y[0][i] / o.r00;
  }
  if (columns == 2) {
    o.r01 = dot(o.q[0], y[1], n);
    Vector rest{};
    for (int i = 0; i < n; ++i) {
      rest[i] = y[1][i] - o.r01 * o.q[0][i];
    }
    o.r11 = std::sqrt(dot(rest, rest, n));
    for (int i = 0; i < n; ++i) {
      o.q[1][i] = rest[i] / o.r11;
    }
  }
  return o;
}

// How far the two planes (lines, for Love) at one depth are from sharing a
// motion: the smallest singular value of G = (I - Q2 Q2^T) Q1, from the
// entries of G^T G = [[p, q], [q, r]] (p alone for lines).
struct PlaneGap {
  double p = 0.0, q = 0.0, r = 0.0;
  double smallest = 0.0;  // the smaller eigenvalue of G^T G

  double value() const { return std::sqrt(std::max(0.0, smallest)); }
};

PlaneGap planeGap(const Orthonormal& first, const Orthonormal& second, int columns, int n) {
  // The part of each motion of the first plane outside the second.
  Vector g[2];
  for (int j = 0; j < columns; ++j) {
    g[j] = first.q[j];
    for (int m = 0; m < columns; ++m) {
      const double along = dot(second.q[m], first.q[j], n);
      for (int i = 0; i < n; ++i) {
        g[j][i] -= along * second.q[m][i];
      }
    }
  }
  PlaneGap gap;
  gap.p = dot(g[0], g[0], n);
  if (columns == 1) {
    gap.smallest = gap.p;
    return gap;
  }
  gap.q = dot(g[0], g[1], n);
  gap.r = dot(g[1], g[1], n);
  const double mean = 0.5 * (gap.p + gap.r);
  gap.smallest = mean - std::hypot(0.5 * (gap.p - gap.r), gap.q);
  return gap;
}

// The motion of the first plane nearest the second: G's singular vector of
// `gap`'s smallest value, mapped by Q1. Formed only where the planes are
// joined, the depth where they agree best.
Vector nearestMotion(const Orthonormal& first, const PlaneGap& gap, int columns, int n) {
  if (columns == 1) {
    return first.q[0];
  }
  const double p = gap.p, q = gap.q, r = gap.r, smallest = gap.smallest;
  double a0 = q, a1 = smallest - p;
  if (std::hypot(a0, a1) < std::hypot(smallest - r, q)) {
    a0 = smallest - r;
    a1 = q;
  }
  const double length = std::hypot(a0, a1);
  if (!(length > 0.0)) {
    // A diagonal G^T G: its smaller entry's axis.
    a0 = p <= r ? 1.0 : 0.0;
    a1 = p <= r ? 0.0 : 1.0;
  } else {
    a0 /= length;
    a1 /= length;
  }
  Vector motion{};
  for (int i = 0; i < n; ++i) {
    motion[i] = a0 * first.q[0][i] + a1 * first.q[1][i];
  }
  return motion;
}

// Adds to `sums` the integrands of the four integrals at one point of the
// scaled motion y (scale exp(2 logWeight) applied by the caller).
struct IntegralSums {
  double i1 = 0.0, i2 = 0.0, i3 = 0.0, i4 = 0.0;
};

void addIntegrands(const LayerSystem& l, const Vector& y, double weight, IntegralSums& sums) {
  const Vector dy = apply(l.a, y, l.n);
  if (l.n == 2) {
    sums.i1 += weight * 0.5 * l.rho * y[0] * y[0];
    sums.i2 += weight * 0.5 * l.mu * y[0] * y[0];
    sums.i3 += weight * 0.5 * l.mu * dy[0] * dy[0];
    return;
  }
  const double l2m = l.lambda + 2.0 * l.mu;
  sums.i1 += weight * 0.5 * l.rho * (y[0] * y[0] + y[1] * y[1]);
  sums.i2 += weight * 0.5 * (l2m * y[0] * y[0] + l.mu * y[1] * y[1]);
  sums.i3 += weight * (l.lambda * y[0] * dy[1] - l.mu * y[1] * dy[0]);
  sums.i4 += weight * 0.5 * (l2m * dy[1] * dy[1] + l.mu * dy[0] * dy[0]);
}

// exp(A h) = m0 I + m1 A + m2 A^2 + m3 A^3 (Love: m0 I + m1 A), the
// coefficients from the even and odd functions of A^2's two eigenvalues.
struct PropagatorCoefficients {
  double m0, m1, m2, m3;
};

// The coefficients from C and S of the S (b) and P (e) terms at one h.
PropagatorCoefficients coefficientsOf(const LayerSystem& l, const EvenOdd& b, const EvenOdd& e) {
  if (l.n == 2) {
    return {b.even, b.odd, 0.0, 0.0};
  }
  const double gap = l.nuA2 - l.nuB2;
  return {(b.even * l.nuA2 - e.even * l.nuB2) / gap, (b.odd * l.nuA2 - e.odd * l.nuB2) / gap,
          (e.even - b.even) / gap, (e.odd - b.odd) / gap};
}

PropagatorCoefficients propagatorCoefficients(const LayerSystem& l, double h) {
  const EvenOdd b = evenOdd(l.nuB2, h);
  return coefficientsOf(l, b, l.n == 2 ? b : evenOdd(l.nuA2, h));
}

// exp(-A h) from the coefficients of exp(A h): C is even in h, S odd.
PropagatorCoefficients reversed(const PropagatorCoefficients& m) {
  return {m.m0, -m.m1, m.m2, -m.m3};
}

// C and S at a + b and at a - b from their values at a and at b:
//   C(a +- b) = C(a) C(b) +- nu^2 S(a) S(b),  S(a +- b) = S(a) C(b) +- C(a) S(b)
// for either sign of nu^2 (cosh and sinh, or cos and sin). With |nu| a and
// |nu| b at most 4 (a sub-layer's phase of 8 at the most, halved), the
// difference loses at most e^8 of rounding: 1e-12 of C, far below the
// quadrature's own error on such a sub-layer.
struct EvenOddPair {
  EvenOdd sum, difference;
};

EvenOddPair sumAndDifference(const EvenOdd& a, const EvenOdd& b, double nu2) {
  const double cc = a.even * b.even;
  const double ss = nu2 * a.odd * b.odd;
  const double sc = a.odd * b.even;
  const double cs = a.even * b.odd;
  return {{cc + ss, sc + cs}, {cc - ss, sc - cs}};
}

// A piece's motion y with A y, A^2 y and A^3 y: the motion anywhere in the
// piece is a sum of these four, so that the quadrature's nodes need no
// propagator matrix of their own.
struct MotionPowers {
  Vector y, ay, a2y, a3y;
};

MotionPowers motionPowers(const LayerSystem& l, const Vector& y) {
  return {y, apply(l.a, y, l.n), apply(l.a2, y, l.n), apply(l.a3, y, l.n)};
}

// exp(A h) y, m the coefficients of exp(A h).
Vector carried(const LayerSystem& l, const MotionPowers& p, const PropagatorCoefficients& m) {
  Vector out{};
  for (int i = 0; i < l.n; ++i) {
    out[i] = m.m2 * p.a2y[i] + m.m3 * p.a3y[i] + m.m1 * p.ay[i] + m.m0 * p.y[i];
  }
  return out;
}

// exp(A h) from its coefficients.
Matrix matrixOf(const LayerSystem& l, const PropagatorCoefficients& m) {
  Matrix p{};
  for (int i = 0; i < l.n; ++i) {
    for (int j = 0; j < l.n; ++j) {
      p[i][j] = m.m2 * l.a2[i][j] + m.m3 * l.a3[i][j] + m.m1 * l.a[i][j] + (i == j ? m.m0 : 0.0);
    }
  }
  return p;
}

}  // namespace

detail::EigenMatrix detail::EigenLayer::propagator(double h) const {
  return matrixOf(*this, propagatorCoefficients(*this, h));
}

Eigenfunction::Status Eigenfunction::compute(std::span<const ModelLayer> model, WaveType wave,
                                             double frequency, double phaseVelocity,
                                             Resolution resolution) {
  pieces_.clear();
  if (modelStatus(model) != CurveStatus::ok || !(frequency > 0.0) || !std::isfinite(frequency) ||
      !(phaseVelocity > 0.0) || !std::isfinite(phaseVelocity)) {
    return Status::badModel;
  }
  wave_ = wave;
  components_ = wave == WaveType::love ? 2 : 4;
  layerCount_ = static_cast<int>(model.size());
  for (int i = 0; i < layerCount_; ++i) {
    const ModelLayer& layer = model[static_cast<std::size_t>(i)];
    thickness_[i] = i + 1 < layerCount_ ? layer.thickness / kMetresPerKilometre : 0.0;
    shear_[i] = layer.shearVelocity / kMetresPerKilometre;
    p_[i] = pVelocityOf(layer) / kMetresPerKilometre;
    density_[i] = layer.density;
  }
  omega_ = 2.0 * std::numbers::pi * frequency;
  const SecularModel held{layerCount_, thickness_, shear_, p_, density_, omega_};
  const double halfSpaceShear = shear_[layerCount_ - 1];
  const double given = phaseVelocity / kMetresPerKilometre;
  const bool fine = resolution == Resolution::fine;
  if (fine) {
    c_ = wave == WaveType::love
             ? zeroWithin(LoveSecularFunction(held), given, kRootSpread, halfSpaceShear)
             : zeroWithin(SecularFunction(held), given, kRootSpread, halfSpaceShear);
  } else {
    c_ = given;
  }
  if (std::isnan(c_)) {
    return Status::noRoot;
  }
  k_ = omega_ / c_;
  const int n = components_;
  const int columns = wave == WaveType::love ? 1 : 2;
  const int last = layerCount_ - 1;
  stressScale_ = k_ * density_[last] * shear_[last] * shear_[last];
  const double s = stressScale_;
  layers_.clear();
  for (int m = 0; m < layerCount_; ++m) {
    layers_.push_back(layerSystem(shear_[m], p_[m], density_[m], c_, omega_, s, wave));
  }

  // The sub-layers, top first.
  for (int m = 0; m < last; ++m) {
    const LayerSystem& l = layers_[static_cast<std::size_t>(m)];
    const double rate =
        std::sqrt(std::max(std::abs(l.nuB2), columns == 2 ? std::abs(l.nuA2) : 0.0));
    const int parts = std::max(
        1, static_cast<int>(std::ceil(rate * thickness_[m] /
                                      (fine ? kLargestSubLayerPhase : kCoarseSubLayerPhase))));
    double top = 0.0;
    for (int j = 0; j < m; ++j) {
      top += thickness_[j];
    }
    for (int part = 0; part < parts; ++part) {
      pieces_.push_back({top + thickness_[m] * part / parts, thickness_[m] / parts, m, {}, 0.0});
    }
  }

  // Up from the half-space: the orthonormal pair at each sub-layer's top
  // and the factors that made it so.
  const LayerSystem& half = layers_[static_cast<std::size_t>(last)];
  const DecayingMotions decaying = decayingMotions(half, k_, s);
  const std::size_t count = pieces_.size();
  std::vector<Orthonormal> pairs(count + 1);
  pairs[count] = orthonormalised(decaying.v, columns, n);
  // A layer's sub-layers are of one thickness, so each layer has one
  // propagator down through a sub-layer and its inverse up, both from the
  // same coefficients.
  PropagatorCoefficients across[kMaxLayers];
  for (std::size_t i = 0; i < count; ++i) {
    if (i == 0 || pieces_[i].layer != pieces_[i - 1].layer) {
      const int m = pieces_[i].layer;
      across[m] =
          propagatorCoefficients(layers_[static_cast<std::size_t>(m)], pieces_[i].thickness);
    }
  }
  int carriedLayer = -1;
  Matrix up{};
  for (std::size_t i = count; i-- > 0;) {
    if (pieces_[i].layer != carriedLayer) {
      carriedLayer = pieces_[i].layer;
      up =
          matrixOf(layers_[static_cast<std::size_t>(carriedLayer)], reversed(across[carriedLayer]));
    }
    const Vector y[2] = {apply(up, pairs[i + 1].q[0], n), apply(up, pairs[i + 1].q[1], n)};
    pairs[i] = orthonormalised(y, columns, n);
  }

  // Down from the free surface: the pair of motions free of traction there,
  // carried down and made orthonormal in the same way.
  std::vector<Orthonormal> down(count + 1);
  const Vector free[2] = {{1.0, 0.0, 0.0, 0.0}, {0.0, 1.0, 0.0, 0.0}};
  down[0] = orthonormalised(free, columns, n);
  carriedLayer = -1;
  Matrix p{};
  for (std::size_t i = 0; i < count; ++i) {
    if (pieces_[i].layer != carriedLayer) {
      carriedLayer = pieces_[i].layer;
      p = matrixOf(layers_[static_cast<std::size_t>(carriedLayer)], across[carriedLayer]);
    }
    const Vector y[2] = {apply(p, down[i].q[0], n), apply(p, down[i].q[1], n)};
    down[i + 1] = orthonormalised(y, columns, n);
  }

  // At a zero the two planes share the mode's motion at every depth. Each is
  // exact, but the mode within it is not: where the mode decays away from
  // the end a plane started at, the plane's other motions outgrow it, and
  // the zero's last bits decide what is left of it (a mode trapped far below
  // a stiff crust reaches the surface as e^{-90} of its size). The planes
  // agree best where the mode is largest: the mode is taken there, carried
  // down through the upward pass's factors and up through the downward
  // pass's, each the direction in which it falls away from its largest.
  std::size_t join = 0;
  double bestMismatch = std::numeric_limits<double>::infinity();
  PlaneGap joinGap;
  for (std::size_t i = 0; i <= count; ++i) {
    const PlaneGap gap = planeGap(down[i], pairs[i], columns, n);
    if (gap.value() < bestMismatch) {
      bestMismatch = gap.value();
      join = i;
      joinGap = gap;
    }
  }
  const Vector joined = nearestMotion(down[join], joinGap, columns, n);
  // Below the join: a below = R^{-1} a above, R of the upward pass.
  double b0 = dot(pairs[join].q[0], joined, n);
  double b1 = columns == 2 ? dot(pairs[join].q[1], joined, n) : 0.0;
  double logScale = 0.0;
  for (std::size_t i = join;; ++i) {
    const Orthonormal& o = pairs[i];
    if (i == count) {
      // The half-space: the coefficients on the decaying motions, from the
      // first factor (the pair there is those motions made orthonormal).
      const double h1 = columns == 2 ? b1 / o.r11 : 0.0;
      const double h0 = (b0 - o.r01 * h1) / o.r00;
      halfSpaceCoefficients_ = {h0, h1};
      halfSpaceLog_ = logScale;
      break;
    }
    Vector motion{};
    for (int j = 0; j < n; ++j) {
      motion[j] = b0 * o.q[0][j] + b1 * o.q[1][j];
    }
    pieces_[i].motion = motion;
    pieces_[i].logScale = logScale;
    const double next1 = columns == 2 ? b1 / o.r11 : 0.0;
    const double next0 = (b0 - o.r01 * next1) / o.r00;
    const double length = std::hypot(next0, next1);
    logScale += std::log(length);
    b0 = next0 / length;
    b1 = next1 / length;
  }
  // Above it: a above = R^{-1} a below, R of the downward pass.
  b0 = dot(down[join].q[0], joined, n);
  b1 = columns == 2 ? dot(down[join].q[1], joined, n) : 0.0;
  logScale = 0.0;
  for (std::size_t i = join; i-- > 0;) {
    const Orthonormal& o = down[i + 1];
    const double up1 = columns == 2 ? b1 / o.r11 : 0.0;
    const double up0 = (b0 - o.r01 * up1) / o.r00;
    const double length = std::hypot(up0, up1);
    logScale += std::log(length);
    b0 = up0 / length;
    b1 = up1 / length;
    Vector motion{};
    for (int j = 0; j < n; ++j) {
      motion[j] = b0 * down[i].q[0][j] + b1 * down[i].q[1][j];
    }
    pieces_[i].motion = motion;
    pieces_[i].logScale = logScale;
  }

  // The normalisation: the larger surface displacement is 1.
  double r1 = 0.0;
  double r2 = 0.0;
  if (count > 0) {
    r1 = pieces_[0].motion[0];
    r2 = pieces_[0].motion[1];
    normalLog_ = pieces_[0].logScale;
  } else {
    normalLog_ = halfSpaceLog_;
    for (int j = 0; j < decaying.count; ++j) {
      r1 += halfSpaceCoefficients_[static_cast<std::size_t>(j)] * decaying.v[j][0];
      r2 += halfSpaceCoefficients_[static_cast<std::size_t>(j)] * decaying.v[j][1];
    }
  }
  normal_ = (columns == 1 || std::abs(r1) >= std::abs(r2)) ? r1 : r2;
  integrate();
  return Status::ok;
}

std::array<double, 4> Eigenfunction::scaledAt(double depthKm, double& logScale) const {
  const int n = components_;
  const double s = stressScale_;
  if (pieces_.empty() || depthKm >= pieces_.back().top + pieces_.back().thickness) {
    const int last = layerCount_ - 1;
    const LayerSystem& half = layers_[static_cast<std::size_t>(last)];
    const DecayingMotions d = decayingMotions(half, k_, s);
    const double below =
        depthKm - (pieces_.empty() ? 0.0 : pieces_.back().top + pieces_.back().thickness);
    Vector y{};
    for (int j = 0; j < d.count; ++j) {
      const double weight =
          halfSpaceCoefficients_[static_cast<std::size_t>(j)] * std::exp(-d.nu[j] * below);
      for (int i = 0; i < n; ++i) {
        y[i] += weight * d.v[j][i];
      }
    }
    logScale = halfSpaceLog_;
    return y;
  }
  // The last sub-layer whose top lies at or above the depth.
  const auto piece = std::upper_bound(pieces_.begin(), pieces_.end(), depthKm,
                                      [](double z, const Piece& p) { return z < p.top; }) -
                     1;
  const LayerSystem& l = layers_[static_cast<std::size_t>(piece->layer)];
  logScale = piece->logScale;
  return apply(l.propagator(depthKm - piece->top), piece->motion, n);
}

MotionAt Eigenfunction::at(double depth) const {
  MotionAt out;
  out.depth = depth;
  if (layerCount_ == 0) {
    return out;
  }
  double logScale = 0.0;
  const Vector y = scaledAt(std::max(0.0, depth) / kMetresPerKilometre, logScale);
  const double factor = std::exp(logScale - normalLog_) / normal_;
  out.values[0] = y[0] * factor;
  out.values[1] = y[1] * factor;
  if (wave_ == WaveType::love) {
    out.values[1] = y[1] * stressScale_ * kTractionToSi * factor;
    return out;
  }
  out.values[2] = y[2] * stressScale_ * kTractionToSi * factor;
  out.values[3] = y[3] * stressScale_ * kTractionToSi * factor;
  return out;
}

void Eigenfunction::integrate() {
  const double s = stressScale_;
  // Every piece's sums weighted relative to the largest scale, so that no
  // exponential overflows; the normalisation is applied at the end.
  double largest = halfSpaceLog_;
  for (const Piece& p : pieces_) {
    largest = std::max(largest, p.logScale);
  }
  IntegralSums sums;
  // The nodes lie at the same depths below the top of every sub-layer of a
  // layer, so their propagators' coefficients are formed once a layer.
  int nodesLayer = -1;
  PropagatorCoefficients atNode[2 * std::size(kGaussNodes)];
  for (const Piece& p : pieces_) {
    const LayerSystem& l = layers_[static_cast<std::size_t>(p.layer)];
    const double scale = std::exp(2.0 * (p.logScale - largest));
    if (scale == 0.0) {
      continue;
    }
    const double half = 0.5 * p.thickness;
    if (p.layer != nodesLayer) {
      // The nodes h/2 (1 -+ x_g) from C and S at h/2 and at h/2 x_g: five
      // evaluations of each where eight would do it node by node.
      nodesLayer = p.layer;
      const EvenOdd bMiddle = evenOdd(l.nuB2, half);
      const EvenOdd eMiddle = l.n == 2 ? bMiddle : evenOdd(l.nuA2, half);
      for (std::size_t g = 0; g < std::size(kGaussNodes); ++g) {
        const double offset = half * kGaussNodes[g];
        const EvenOddPair b = sumAndDifference(bMiddle, evenOdd(l.nuB2, offset), l.nuB2);
        const EvenOddPair e =
            l.n == 2 ? b : sumAndDifference(eMiddle, evenOdd(l.nuA2, offset), l.nuA2);
        atNode[2 * g] = coefficientsOf(l, b.difference, e.difference);
        atNode[2 * g + 1] = coefficientsOf(l, b.sum, e.sum);
      }
    }
    const MotionPowers powers = motionPowers(l, p.motion);
    for (std::size_t g = 0; g < std::size(kGaussNodes); ++g) {
      for (std::size_t side = 0; side < 2; ++side) {
        const Vector y = carried(l, powers, atNode[2 * g + side]);
        addIntegrands(l, y, scale * half * kGaussWeights[g], sums);
      }
    }
  }
  // The half-space in closed form: products of exp(-nu_i z) exp(-nu_j z)
  // integrate to 1 / (nu_i + nu_j).
  const int last = layerCount_ - 1;
  const LayerSystem& h = layers_[static_cast<std::size_t>(last)];
  const DecayingMotions d = decayingMotions(h, k_, s);
  const double scale = std::exp(2.0 * (halfSpaceLog_ - largest));
  for (int i = 0; i < d.count; ++i) {
    for (int j = 0; j < d.count; ++j) {
      const double weight = scale * halfSpaceCoefficients_[static_cast<std::size_t>(i)] *
                            halfSpaceCoefficients_[static_cast<std::size_t>(j)] /
                            (d.nu[i] + d.nu[j]);
      const Vector& u = d.v[i];
      const Vector& v = d.v[j];
      // y_i = u e^{-nu_i z}, y_i' = -nu_i u e^{-nu_i z}.
      if (h.n == 2) {
        sums.i1 += weight * 0.5 * h.rho * u[0] * v[0];
        sums.i2 += weight * 0.5 * h.mu * u[0] * v[0];
        sums.i3 += weight * 0.5 * h.mu * d.nu[i] * d.nu[j] * u[0] * v[0];
        continue;
      }
      const double l2m = h.lambda + 2.0 * h.mu;
      sums.i1 += weight * 0.5 * h.rho * (u[0] * v[0] + u[1] * v[1]);
      sums.i2 += weight * 0.5 * (l2m * u[0] * v[0] + h.mu * u[1] * v[1]);
      sums.i3 += weight * (h.lambda * u[0] * -d.nu[j] * v[1] - h.mu * u[1] * -d.nu[j] * v[0]);
      sums.i4 += weight * 0.5 * d.nu[i] * d.nu[j] * (l2m * u[1] * v[1] + h.mu * u[0] * v[0]);
    }
  }
  const double normalisation = std::exp(2.0 * (largest - normalLog_)) / (normal_ * normal_);
  // Love's I3 is of a slope squared, as Rayleigh's I4.
  const double i3ToSi = wave_ == WaveType::love ? kI4ToSi : kI3ToSi;
  integrals_ = {sums.i1 * normalisation * kI1ToSi, sums.i2 * normalisation * kI2ToSi,
                sums.i3 * normalisation * i3ToSi, sums.i4 * normalisation * kI4ToSi};
}

double Eigenfunction::groupVelocity() const {
  const EnergyIntegrals& e = integrals_;
  const double k = k_ / kMetresPerKilometre;  // 1/m
  const double c = c_ * kMetresPerKilometre;
  return wave_ == WaveType::love ? e.i2 / (c * e.i1) : (e.i2 + e.i3 / (2.0 * k)) / (c * e.i1);
}

std::vector<double> Eigenfunction::interfaceDepths() const {
  std::vector<double> depths;
  double z = 0.0;
  for (int m = 0; m + 1 < layerCount_; ++m) {
    z += thickness_[m];
    depths.push_back(z * kMetresPerKilometre);
  }
  return depths;
}

}  // namespace swcore
