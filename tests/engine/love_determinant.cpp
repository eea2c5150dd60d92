// SPDX-License-Identifier: GPL-3.0-or-later
#include "love_determinant.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <utility>

namespace dispfit_test {

namespace {

using Complex = std::complex<double>;

}  // namespace

LoveDeterminant::LoveDeterminant(std::vector<Layer> layers, double omega)
    : layers_(std::move(layers)), omega_(omega) {}

double LoveDeterminant::operator()(double c) const {
  const double k = omega_ / c;
  // Stresses are carried over k, so both parts are of one order.
  Complex v = 1.0;
  Complex t = 0.0;
  for (std::size_t m = 0; m + 1 < layers_.size(); ++m) {
    const Layer& layer = layers_[m];
    const double mu = layer.density * layer.vs * layer.vs;
    // v'' = nu^2 v: v = A e^{nu z} + B e^{-nu z}, tau = mu v'.
    const Complex nu = k * std::sqrt(Complex(1.0 - c * c / (layer.vs * layer.vs), 0.0));
    // A and B from v and t = tau / k at the layer's top.
    const Complex a = 0.5 * (v + k * t / (mu * nu));
    const Complex b = 0.5 * (v - k * t / (mu * nu));
    const Complex up = std::exp(nu * layer.thickness);
    const Complex down = std::exp(-nu * layer.thickness);
    v = a * up + b * down;
    t = mu * nu * (a * up - b * down) / k;
    const double scale = std::max(std::abs(v), std::abs(t));
    if (scale > 0.0) {
      v /= scale;
      t /= scale;
    }
  }
  const Layer& half = layers_.back();
  const double mu = half.density * half.vs * half.vs;
  const double nu = std::sqrt(1.0 - c * c / (half.vs * half.vs));  // times k
  // The real part: the motion is real up to a common phase, which the
  // surface values (1, 0) fix at zero.
  return (t + mu * nu * v).real();
}

std::vector<double> LoveDeterminant::zeros(double lo, double hi, int samples) const {
  return signChanges(*this, lo, hi, samples);
}

}  // namespace dispfit_test
