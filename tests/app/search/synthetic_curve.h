// SPDX-License-Identifier: GPL-3.0-or-later
// The synthetic field curve the search tests fit: a 3-layer model's
// fundamental-mode curve at 30 frequencies evenly spaced in log frequency
// from 80 down to 5 Hz, each point with a band of +-3 %.
//
// The model: 3 m of 150 m/s over 6 m of 300 m/s over a 600 m/s half-space,
// density 1.9 g/cm3 and Vp = 3 Vs throughout. Its interfaces at 3 and 9 m lie
// well inside the depth the curve constrains (half the longest wavelength,
// about 53 m), and each layer is at least a wavelength of the highest
// frequency thick.
#pragma once

#include <cmath>
#include <vector>

#include "dispersion/dispersion_curve.h"
#include "dispersion/observed_curve.h"
#include "search/search_space.h"
#include "site/measured_curve.h"

namespace dispfit_test {

inline dispfit::TrialModel syntheticModel() {
  return {{3.0, 6.0, 0.0}, {150.0, 300.0, 600.0}, {450.0, 900.0, 1800.0}, {1.9, 1.9, 1.9}};
}

// The rule the curve is of: its fundamental mode, the lowest root. The
// search tests fit it under that rule; near 10 Hz this model's fundamental
// barely moves the surface vertically (its ellipticity's singularity, where
// the H/V ratio peaks) and the surface-observed fundamental is mode 1 there,
// which the tests of the rule itself take up.
inline const swcore::ForwardRuleSettings kSyntheticRule{swcore::ForwardRule::lowestRoot};

// The half-band width, a fraction of the velocity.
inline constexpr double kBandFraction = 0.03;

inline std::vector<double> syntheticFrequencies() {
  std::vector<double> hz;
  for (int i = 29; i >= 0; --i) hz.push_back(5.0 * std::pow(16.0, i / 29.0));
  return hz;
}

// The model's curve through the engine's curve interface directly, in
// kg/m3, with a band of +-3 % at every point.
inline std::vector<dispfit::MeasuredPoint> syntheticCurve() {
  const dispfit::TrialModel m = syntheticModel();
  std::vector<swcore::ModelLayer> layers;
  for (std::size_t i = 0; i < m.vs.size(); ++i) {
    layers.push_back({m.thickness[i], m.vs[i], 1000.0 * m.density[i], m.vp[i]});
  }
  const std::vector<double> hz = syntheticFrequencies();
  std::vector<swcore::CurvePoint> out(hz.size());
  swcore::DispersionCurveSolver solver;
  solver.compute(layers, hz, swcore::CurveKind::phase, out);
  std::vector<dispfit::MeasuredPoint> points;
  for (std::size_t i = 0; i < hz.size(); ++i) {
    const double c = out[i].phaseVelocity;
    points.push_back({hz[i], c,
                      dispfit::VelocityBand{c * (1.0 - kBandFraction), c * (1.0 + kBandFraction)},
                      static_cast<int>(i + 1)});
  }
  return points;
}

}  // namespace dispfit_test
