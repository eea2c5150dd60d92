// SPDX-License-Identifier: GPL-3.0-or-later
// The envelope of the accepted models' curves: at each measured frequency the
// slowest and the fastest phase velocity any of them has there.
//
// Notation (Hz, m/s):
//   f_i          the measured frequencies, in the curve's order
//   v_m(f_i)     model m's phase velocity at f_i, where it has a root
//   low_i, high_i   min and max of v_m(f_i) over the models with a root at f_i
#pragma once

#include <span>
#include <vector>

#include "search/curve_misfit.h"
#include "search/search_space.h"

namespace dispfit {

struct EnvelopePoint {
  double frequency = 0.0;  // Hz
  double low = 0.0;        // m/s
  double high = 0.0;       // m/s
};

// The envelope of the models' curves at the curve's frequencies, in its
// order; a frequency where no model has a root is left out, and so are
// models the engine refuses. Empty without models.
std::vector<EnvelopePoint> curveEnvelope(std::span<const TrialModel> models,
                                         const CurveMisfit& curve);

}  // namespace dispfit
