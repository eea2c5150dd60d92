// SPDX-License-Identifier: GPL-3.0-or-later
// Engine states holding a model and a data set for the inversion tests.
#pragma once

#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

#include "dispersion/engine_state.h"
#include "layered_determinant.h"
#include "test_models.h"

namespace dispfit_test {

// A zeroed state (on the heap: the state is large) with the model and the
// frequencies (Hz) of the data set, in forward mode.
inline std::unique_ptr<swcore::EngineState> dataSetState(const Model& model,
                                                         const std::vector<double>& hertz) {
  auto state = std::make_unique<swcore::EngineState>();
  const auto n = static_cast<int32_t>(model.vs.size());
  state->layerCount = n;
  state->NP = 2 * n;
  for (int32_t i = 0; i < n; ++i) {
    const auto u = static_cast<std::size_t>(i);
    state->thickness[i] = model.thickness[u];
    state->shearVelocity[i] = model.vs[u];
    state->RHOIN[i] = model.density[u];
    state->PAR[2 * i] = model.vs[u];
    state->PAR[2 * i + 1] = model.thickness[u];
  }
  state->M = static_cast<int32_t>(hertz.size());
  for (std::size_t j = 0; j < hertz.size(); ++j) {
    state->FREQ[j] = hertz[j];
  }
  return state;
}

// Fundamental-mode phase velocity (km/s) from the independent determinant:
// the first sign change above `start` in steps of 1e-4 km/s, then bisection.
inline double referencePhaseVelocity(const Model& model, double hertz, double start) {
  const LayeredDeterminant d(layersFor(model), 2.0 * M_PI * hertz);
  double a = start;
  double fa = d(a);
  for (double b = a + 1e-4; b < model.vs.back(); a = b, b += 1e-4) {
    const double fb = d(b);
    if (fa * fb <= 0.0) {
      for (int i = 0; i < 200 && b - a > 1e-14; ++i) {
        const double m = 0.5 * (a + b);
        const double fm = d(m);
        if (fa * fm <= 0.0) {
          b = m;
        } else {
          a = m;
          fa = fm;
        }
      }
      return 0.5 * (a + b);
    }
    fa = fb;
  }
  return NAN;
}

}  // namespace dispfit_test
