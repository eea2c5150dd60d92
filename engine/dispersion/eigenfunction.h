// SPDX-License-Identifier: GPL-3.0-or-later
// The motion of one mode against depth: displacements and tractions of a
// Rayleigh or Love mode at a frequency, with the energy integrals and the
// group velocity they give.
//
// Units at this interface are those of the curve solver: depth in m,
// velocities in m/s, frequency in Hz, densities in kg/m3. The displacements
// are normalised at the free surface (see Eigenfunction::at); a traction is
// then in Pa for a surface displacement of 1 m, and the integrals in the SI
// units of that motion.
//
// Conventions (Aki & Richards, Quantitative Seismology, ch. 7; z downward):
//   Rayleigh  u_x = r1(z) e^{i(kx - wt)}, u_z = i r2(z) e^{i(kx - wt)},
//             tau_xz = r3(z) e^{i(kx - wt)}, tau_zz = i r4(z) e^{i(kx - wt)}
//   Love      u_y = l1(z) e^{i(kx - wt)}, tau_yz = l2(z) e^{i(kx - wt)}
//   Rayleigh  I1 = 1/2 int rho (r1^2 + r2^2),  I2 = 1/2 int (lambda + 2 mu) r1^2 + mu r2^2,
//             I3 = int lambda r1 r2' - mu r2 r1',  I4 = 1/2 int (lambda + 2 mu) r2'^2 + mu r1'^2;
//             U = (I2 + I3 / 2k) / (c I1), and w^2 I1 = k^2 I2 + k I3 + I4 at a mode
//   Love      I1 = 1/2 int rho l1^2,  I2 = 1/2 int mu l1^2,  I3 = 1/2 int mu l1'^2;
//             U = I2 / (c I1), and w^2 I1 = k^2 I2 + I3 at a mode
#pragma once

#include <array>
#include <span>
#include <vector>

#include "dispersion/dispersion_curve.h"

namespace swcore {

namespace detail {

using EigenMatrix = std::array<std::array<double, 4>, 4>;

// One layer's material and the system of its motion at one c and omega (see
// eigenfunction.cpp): y' = A y, A^2 and A^3, and the eigenvalues of A^2.
struct EigenLayer {
  double mu, lambda, rho;
  double nuA2, nuB2;
  EigenMatrix a, a2, a3;
  int n;  // 4 Rayleigh, 2 Love

  // exp(A h): the motion carried down by h (km; up where negative).
  EigenMatrix propagator(double h) const;
};

}  // namespace detail

// The motion at one depth. Rayleigh: r1, r2, r3, r4 as above; Love: l1, l2,
// 0, 0.
struct MotionAt {
  double depth = 0.0;  // m
  std::array<double, 4> values{};
};

// The energy integrals of the normalised motion (SI; Love's I4 is 0).
struct EnergyIntegrals {
  double i1 = 0.0;
  double i2 = 0.0;
  double i3 = 0.0;
  double i4 = 0.0;
};

class Eigenfunction {
 public:
  // The mode of `wave` at `frequency` whose phase velocity lies within
  // 1e-6 of `phaseVelocity` (a root of the curve solver): the zero is first
  // refined to 1e-14 of c. Two planes of motions are carried through the
  // layers in sub-layers over which a motion changes by at most a factor e^2
  // (its vertical wavenumber times the thickness at most 2), made
  // orthonormal after each (Gram-Schmidt), so that neither motion of a pair
  // is lost where one outgrows the other: up from the half-space the motions
  // that decay into it, down from the free surface those free of traction
  // there (for Love waves one motion each). At a zero the planes share the
  // mode; it is taken where they agree best, which is where it is largest,
  // and carried from there down through the upward pass's factors and up
  // through the downward pass's, in each direction the one in which it
  // falls away. Refused as compute() refuses the model; noRoot where no
  // zero lies near phaseVelocity.
  //
  // Resolution::coarse takes phaseVelocity as the zero without refining it
  // (a root of the curve solver, within 1e-5 m/s) and sub-layers four times
  // as thick: for a mode's response (medium_response.h), which the rule
  // compares at a share of 10 % and which it gives within 1e-3 of the fine
  // one (6e-4 at the worst of 282 modes of random models, nearly all of it
  // from the root's tolerance), at a quarter of the cost.
  enum class Status { ok, badModel, noRoot };
  enum class Resolution { fine, coarse };
  Status compute(std::span<const ModelLayer> model, WaveType wave, double frequency,
                 double phaseVelocity, Resolution resolution = Resolution::fine);

  // The motion at `depth` (m, >= 0), normalised so that the larger surface
  // displacement (|r1| or |r2|; l1 for Love) is 1 and positive. Where the
  // mode's motion at depth is more than 1e300 times its surface motion (a
  // mode trapped far below a stiff crust), the values are infinite.
  MotionAt at(double depth) const;

  // The integrals over the whole depth of the same normalised motion, by
  // 8-point Gauss-Legendre quadrature over each sub-layer (to 1e-12 for
  // motions that change by at most e^2 across one) and in closed form in the
  // half-space.
  EnergyIntegrals integrals() const { return integrals_; }

  double phaseVelocity() const { return c_ * 1000.0; }  // the refined zero, m/s
  // U from the integrals, m/s.
  double groupVelocity() const;
  // The depths of the interfaces, m, the top of the half-space last.
  std::vector<double> interfaceDepths() const;

 private:
  // One sub-layer: where it starts (km), its thickness (km), its layer, and
  // the scaled motion at its top (unit length) with the log of its length.
  struct Piece {
    double top;
    double thickness;
    int layer;
    std::array<double, 4> motion;
    double logScale;
  };
  std::array<double, 4> scaledAt(double depthKm, double& logScale) const;
  void integrate();

  WaveType wave_ = WaveType::rayleigh;
  int components_ = 4;
  int layerCount_ = 0;
  double thickness_[kMaxLayers] = {};  // km
  double shear_[kMaxLayers] = {};      // km/s
  double p_[kMaxLayers] = {};          // km/s
  double density_[kMaxLayers] = {};
  double omega_ = 0.0;
  double c_ = 0.0;  // km/s
  double k_ = 0.0;  // 1/km
  double stressScale_ = 0.0;
  std::vector<detail::EigenLayer> layers_;  // every layer's system, the half-space last
  std::vector<Piece> pieces_;
  // The half-space motion: coefficients of its two decaying motions (one for
  // Love) times exp(halfSpaceLog_).
  std::array<double, 2> halfSpaceCoefficients_{};
  double halfSpaceLog_ = 0.0;
  // The surface normalisation: scaled motion times exp(-normalLog_) / normal_.
  double normalLog_ = 0.0;
  double normal_ = 1.0;
  EnergyIntegrals integrals_;
};

}  // namespace swcore
