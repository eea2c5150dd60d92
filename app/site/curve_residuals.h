// SPDX-License-Identifier: GPL-3.0-or-later
// The residuals of a computed curve at the measured points, as the residual
// chart draws them under the dispersion chart.
//
// Notation (m/s):
//   c_i      measured phase velocity at frequency f_i
//   v_i      the computed one there
//   sigma_i  half the width of the point's band: its standard deviation, or
//            (high - low) / 2 for a low and a high bound, as the global
//            search's normalised misfit takes it
//   r_i      (c_i - v_i) / sigma_i, when every point has a band of some width;
//            c_i - v_i in m/s otherwise
#pragma once

#include <span>
#include <vector>

#include "site/fit_statistics.h"
#include "site/measured_curve.h"

namespace dispfit {

enum class ResidualScale { Normalised, MetresPerSecond };

// Normalised when every point has a band of positive width, else in m/s.
ResidualScale residualScale(std::span<const MeasuredPoint> points);

struct Residual {
  double frequency = 0.0;   // Hz
  double wavelength = 0.0;  // m, the measured point's
  double value = 0.0;       // r_i
};

// r_i for every point whose computed velocity (m/s, one per point, in the
// points' order) is a positive finite number; the others, frequencies
// without a root, are left out. Empty when the counts differ.
std::vector<Residual> curveResiduals(std::span<const MeasuredPoint> points,
                                     std::span<const double> computed, ResidualScale scale);

// The half range of a residual axis that runs from -s to +s: the smallest of
// 2, 4, 10, 20, 40, 100, ... at or above 1.15 times the largest residual
// (room over the farthest point). Each gives five labelled ticks, -s, -s/2,
// 0, s/2 and s, which a chart a hundred pixels high can still print; 2 at
// least, so that a normalised axis shows the band's edges at -1 and +1 with
// room around them.
double residualAxisSpan(double largestResidual);

// The engine's curve with NaN for each frequency without a root.
std::vector<double> velocitiesOf(const ComputedCurve& curve);

}  // namespace dispfit
