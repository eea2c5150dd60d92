// SPDX-License-Identifier: GPL-3.0-or-later
// An independent Rayleigh-wave boundary-condition determinant of a layered
// elastic half-space, used to check the engine's secular function.
//
// Formulation: Thomson-Haskell propagation of the motion-stress vector
// (U, W, T, S) in second-order compound (delta-matrix) form. The two
// solutions that decay into the half-space are wedged together and carried
// up to the free surface through each layer's eigen-decomposition, with the
// growing exponentials and the compound vector normalised layer by layer (a
// positive factor, so sign and zeros are kept). The determinant is the
// traction minor at the surface. Defined for phase velocities below the
// half-space S velocity.
#pragma once

#include <array>
#include <vector>

namespace dispfit_test {

struct Layer {
  double thickness;  // km (ignored for the half-space)
  double vs;         // km/s
  double vp;         // km/s
  double density;
};

class LayeredDeterminant {
 public:
  LayeredDeterminant(std::vector<Layer> layers, double omega);

  // Sign-carrying determinant at phase velocity c (km/s), 0 < c < vs of the half-space.
  double operator()(double c) const;

  // Every 2x2 minor of the pair of motions that decay into the half-space,
  // carried up to the free surface, in the order UW, UT, US, WT, WS, TS (U,
  // W the displacements, T, S the tractions, of the (U, W, T, S) above),
  // normalised by a positive factor: the determinant is the TS minor. The
  // vertical surface displacement of a unit normal traction at wavenumber
  // k = omega / c is -WT / TS (the combination free of shear traction).
  std::array<double, 6> surfaceMinors(double c) const;

  // Zeros in (lo, hi): sign changes on a grid of `samples` points, refined by bisection.
  std::vector<double> zeros(double lo, double hi, int samples) const;

 private:
  std::vector<Layer> layers_;
  double omega_;
};

// Largest relative residual |A v - nu v| / |v| of the P and S eigenvectors
// of one layer at wavenumber k and phase velocity c (a self-check).
double eigenResidual(const Layer& layer, double k, double omega, double c);

// Sign changes of any function f on a uniform grid of lo..hi, refined by
// bisection to 1e-13 km/s. Intervals in which f is not finite are skipped.
template <class F>
std::vector<double> signChanges(const F& f, double lo, double hi, int samples) {
  std::vector<double> found;
  double x0 = lo;
  double f0 = f(x0);
  for (int i = 1; i <= samples; ++i) {
    const double x1 = lo + (hi - lo) * i / samples;
    const double f1 = f(x1);
    if (f0 * f1 < 0.0) {
      double a = x0, b = x1, fa = f0;
      while (b - a > 1e-13) {
        const double m = 0.5 * (a + b);
        const double fm = f(m);
        if ((fm < 0.0) == (fa < 0.0)) {
          a = m;
          fa = fm;
        } else {
          b = m;
        }
      }
      found.push_back(0.5 * (a + b));
    }
    x0 = x1;
    f0 = f1;
  }
  return found;
}

}  // namespace dispfit_test
