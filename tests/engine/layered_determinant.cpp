// SPDX-License-Identifier: GPL-3.0-or-later
#include "layered_determinant.h"

#include <Eigen/Dense>
#include <algorithm>
#include <array>
#include <cmath>
#include <complex>
#include <utility>

namespace dispfit_test {

namespace {

using Complex = std::complex<double>;
using Matrix4 = Eigen::Matrix<Complex, 4, 4>;
using Matrix6 = Eigen::Matrix<Complex, 6, 6>;
using Vector4 = Eigen::Matrix<Complex, 4, 1>;
using Vector6 = Eigen::Matrix<Complex, 6, 1>;

// Row/column pairs of the second compound, in lexicographic order.
constexpr std::array<std::pair<int, int>, 6> kPairs{
    {{0, 1}, {0, 2}, {0, 3}, {1, 2}, {1, 3}, {2, 3}}};

// Second compound: all 2x2 minors of a 4x4 matrix.
Matrix6 compound(const Matrix4& m) {
  Matrix6 c;
  for (int i = 0; i < 6; ++i) {
    const auto [r1, r2] = kPairs[i];
    for (int j = 0; j < 6; ++j) {
      const auto [c1, c2] = kPairs[j];
      c(i, j) = m(r1, c1) * m(r2, c2) - m(r1, c2) * m(r2, c1);
    }
  }
  return c;
}

Vector6 wedge(const Vector4& a, const Vector4& b) {
  Vector6 w;
  for (int i = 0; i < 6; ++i) {
    const auto [r1, r2] = kPairs[i];
    w(i) = a(r1) * b(r2) - a(r2) * b(r1);
  }
  return w;
}

// Elastic constants and wave numbers of one homogeneous layer at (k, omega).
struct Medium {
  double mu;
  double lambda;
  double rho;
  double k;
  double omega;
};

Medium mediumOf(const Layer& l, double k, double omega) {
  const double mu = l.density * l.vs * l.vs;
  const double lambda = l.density * l.vp * l.vp - 2.0 * mu;
  return {mu, lambda, l.density, k, omega};
}

// y' = A y for y = (U, W, T, S): u = U e^{ikx}, w = i W e^{ikx},
// tau_xz = T e^{ikx}, tau_zz = i S e^{ikx}; z downward.
Matrix4 systemMatrix(const Medium& m) {
  const double l2m = m.lambda + 2.0 * m.mu;
  const double k = m.k;
  Matrix4 a = Matrix4::Zero();
  a(0, 1) = k;
  a(0, 2) = 1.0 / m.mu;
  a(1, 0) = -m.lambda * k / l2m;
  a(1, 3) = 1.0 / l2m;
  a(2, 0) = k * k * 4.0 * m.mu * (m.lambda + m.mu) / l2m - m.rho * m.omega * m.omega;
  a(2, 3) = k * m.lambda / l2m;
  a(3, 1) = -m.rho * m.omega * m.omega;
  a(3, 2) = -k;
  return a;
}

// Eigenvectors for exp(nu z) dependence: P waves (from the potential phi) and
// S waves (from psi).
Vector4 pWave(const Medium& m, Complex nu) {
  const double k = m.k;
  return {k, -nu, 2.0 * m.mu * k * nu, m.lambda * k * k - (m.lambda + 2.0 * m.mu) * nu * nu};
}

Vector4 sWave(const Medium& m, Complex nu) {
  const double k = m.k;
  return {-nu, k, -m.mu * (nu * nu + k * k), 2.0 * m.mu * k * nu};
}

Complex verticalWavenumber(double k, double c, double v) {
  return k * std::sqrt(Complex(1.0 - (c * c) / (v * v), 0.0));
}

Vector6 normalised(const Vector6& y) {
  const double m = y.cwiseAbs().maxCoeff();
  return m > 0.0 ? Vector6(y / m) : y;
}

}  // namespace

LayeredDeterminant::LayeredDeterminant(std::vector<Layer> layers, double omega)
    : layers_(std::move(layers)), omega_(omega) {}

double LayeredDeterminant::operator()(double c) const {
  return surfaceMinors(c)[5];
}

std::array<double, 6> LayeredDeterminant::surfaceMinors(double c) const {
  const double k = omega_ / c;
  const Layer& bottom = layers_.back();
  const Medium half = mediumOf(bottom, k, omega_);
  // Solutions decaying with depth in the half-space: exp(-nu z).
  Vector6 y = wedge(pWave(half, -verticalWavenumber(k, c, bottom.vp)),
                    sWave(half, -verticalWavenumber(k, c, bottom.vs)));
  y = normalised(y);

  for (int m = static_cast<int>(layers_.size()) - 2; m >= 0; --m) {
    const Layer& layer = layers_[m];
    const Medium med = mediumOf(layer, k, omega_);
    const Complex na = verticalWavenumber(k, c, layer.vp);
    const Complex nb = verticalWavenumber(k, c, layer.vs);
    const std::array<Complex, 4> nu{na, -na, nb, -nb};
    Matrix4 e;
    e.col(0) = pWave(med, nu[0]);
    e.col(1) = pWave(med, nu[1]);
    e.col(2) = sWave(med, nu[2]);
    e.col(3) = sWave(med, nu[3]);
    // From the bottom of the layer to its top: exp(-nu h) per eigenvector,
    // exp(-(nu_i + nu_j) h) per wedge pair, less the largest real exponent.
    std::array<Complex, 6> growth;
    double largest = -1e300;
    for (int p = 0; p < 6; ++p) {
      const auto [i, j] = kPairs[p];
      growth[p] = -(nu[i] + nu[j]) * layer.thickness;
      largest = std::max(largest, growth[p].real());
    }
    const Matrix6 e2 = compound(e);
    Vector6 coefficients = e2.partialPivLu().solve(y);
    for (int p = 0; p < 6; ++p) {
      coefficients(p) *= std::exp(growth[p] - largest);
    }
    y = normalised(e2 * coefficients);
  }
  std::array<double, 6> minors{};
  for (int i = 0; i < 6; ++i) {
    minors[static_cast<std::size_t>(i)] = y(i).real();
  }
  return minors;
}

std::vector<double> LayeredDeterminant::zeros(double lo, double hi, int samples) const {
  return signChanges(*this, lo, hi, samples);
}

// Residual of the eigenvector relations, for the self-check of the tests.
double eigenResidual(const Layer& layer, double k, double omega, double c) {
  const Medium m = mediumOf(layer, k, omega);
  const Matrix4 a = systemMatrix(m);
  double worst = 0.0;
  for (double sign : {1.0, -1.0}) {
    const Complex na = sign * verticalWavenumber(k, c, layer.vp);
    const Complex nb = sign * verticalWavenumber(k, c, layer.vs);
    const Vector4 p = pWave(m, na);
    const Vector4 s = sWave(m, nb);
    worst = std::max(worst, (a * p - na * p).norm() / p.norm());
    worst = std::max(worst, (a * s - nb * s).norm() / s.norm());
  }
  return worst;
}

}  // namespace dispfit_test
