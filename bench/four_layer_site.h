// SPDX-License-Identifier: GPL-3.0-or-later
// The site the search and posterior benchmarks invert: the 30-point curve of
// a 4-layer model from 5 to 80 Hz and the 4-layer space it is searched in.
#pragma once

#include <cmath>
#include <optional>
#include <vector>

#include "dispersion/dispersion_curve.h"
#include "search/search_space.h"
#include "site/measured_curve.h"

namespace dispfit::bench {

// 2 m of 140 m/s, 4 m of 220 m/s and 8 m of 350 m/s over a 600 m/s
// half-space, density 1.9 g/cm3, Vp = 3 Vs: its fundamental at 30
// frequencies evenly spaced in log f, each with the band c (1 -+ share).
inline std::vector<MeasuredPoint> fourLayerCurve(double bandShare) {
  const std::vector<swcore::ModelLayer> layers{{2.0, 140.0, 1900.0, 420.0},
                                               {4.0, 220.0, 1900.0, 660.0},
                                               {8.0, 350.0, 1900.0, 1050.0},
                                               {1.0, 600.0, 1900.0, 1800.0}};
  std::vector<double> hz;
  for (int i = 29; i >= 0; --i) hz.push_back(5.0 * std::pow(16.0, i / 29.0));
  std::vector<swcore::CurvePoint> out(hz.size());
  swcore::DispersionCurveSolver solver;
  solver.compute(layers, hz, swcore::CurveKind::phase, out);
  std::vector<MeasuredPoint> points;
  for (std::size_t i = 0; i < hz.size(); ++i) {
    const double c = out[i].phaseVelocity;
    points.push_back({hz[i], c, VelocityBand{(1.0 - bandShare) * c, (1.0 + bandShare) * c},
                      static_cast<int>(i + 1)});
  }
  return points;
}

// Four layers, each Vs on 80-1000 m/s and thickness on 1-15 m, 1.9 g/cm3.
inline SearchSpace fourLayerSpace() {
  SearchSpace space;
  space.layers.assign(4, LayerRanges{{80.0, 1000.0}, {1.0, 15.0}, 1.9, std::nullopt, std::nullopt});
  return space;
}

}  // namespace dispfit::bench
