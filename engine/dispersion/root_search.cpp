// SPDX-License-Identifier: GPL-3.0-or-later
#include "dispersion/root_search.h"

#include "dispersion/engine_state.h"
#include "dispersion/secular_function.h"
#include "swcore.h"

// A layer count outside the model arrays leaves D undefined everywhere: no
// search, and the result cell keeps its content.
extern "C" void ROOT(const double* step, const double* tolerance, double* result) {
  if (!swcore::layerCountInRange(swcore::engineState.layerCount)) {
    return;
  }
  const swcore::SecularFunction d(swcore::engineState);
  swcore::findRoot(d, swcore::engineState.startVelocity, *step, *tolerance, *result, d.poles());
}
