// SPDX-License-Identifier: GPL-3.0-or-later
// Models and helpers shared by the engine tests.
#pragma once

#include <bit>
#include <cmath>
#include <cstdint>
#include <random>
#include <span>
#include <vector>

#include "dispersion/dispersion_curve.h"
#include "dispersion/engine_state.h"
#include "layered_determinant.h"

namespace dispfit_test {

// A layered model in engine units: km, km/s; P velocity is 3 x S velocity.
struct Model {
  std::vector<double> thickness;  // km, one per layer (the half-space entry unused)
  std::vector<double> vs;         // km/s
  std::vector<double> density;
};

// 1 to 20 layers of 0.5 to 5 m over a half-space, S velocities 80 to 900 m/s
// rising with depth, with up to two layers made slower than the layer above
// (low-velocity layers); densities 1.6 to 2.2.
Model randomNearSurfaceModel(std::mt19937_64& rng);

// Engine state holding the model at angular frequency omega.
swcore::EngineState stateFor(const Model& model, double omega);

// The same model for the independent determinant.
std::vector<Layer> layersFor(const Model& model);

// Angular frequency as the forward entry derives it from a frequency in Hz.
double engineOmega(double hertz);

// The Rayleigh velocity of a half-space with Vp = 3 Vs, as a fraction of Vs,
// from Rayleigh's cubic in xi = (c / Vs)^2 solved by bisection.
double halfSpaceRayleighRatio();

// 5 m and 10 m over a half-space; 150, 250, 400 m/s; 1.8, 1.9, 2.0.
Model twoLayersOverHalfSpace();

// 30 frequencies 150, 145, ..., 5 Hz.
std::vector<float> standardFrequencies();

// A model for the curve interface (SI units), drawn over the range the
// field meets: 1 to 20 layers of 0.5 to 30 m over a half-space, S
// velocities 80 to 2000 m/s mostly rising with depth, with stiff tops, up
// to two low-velocity layers and now and then a half-space slower than a
// layer above; Vp / Vs from 1.7 to 10; densities 1500 to 2500 kg/m3.
std::vector<swcore::ModelLayer> randomVariedModel(std::mt19937_64& rng);

// The same model for the independent determinant (km, km/s).
std::vector<Layer> layersFor(std::span<const swcore::ModelLayer> model);

// Whether two doubles are the same to the bit (a NaN only equals itself).
inline bool sameBits(double a, double b) {
  return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

// Wraps a function and records every point it is evaluated at.
template <class F>
class Recorded {
 public:
  explicit Recorded(F f) : f_(f) {}
  double operator()(double x) const {
    points.push_back(x);
    return f_(x);
  }
  mutable std::vector<double> points;

 private:
  F f_;
};

// Plain regula falsi, stopping on the step between successive iterates with
// no check after it: the reference for the values the engine must keep
// unchanged.
template <class Function>
double plainRegulaFalsi(const Function& d, double a, double fa, double b, double fb,
                        double tolerance) {
  bool first = true;
  double previous = 0.0;
  for (;;) {
    const double x = b - (a - b) * fb / (fa - fb);
    if (!first && !(std::abs(previous - x) >= tolerance)) {
      return x;
    }
    first = false;
    previous = x;
    const double fx = d(x);
    if (fx / fa > 0.0) {
      a = x;
      fa = fx;
    } else {
      b = x;
      fb = fx;
    }
  }
}

}  // namespace dispfit_test
