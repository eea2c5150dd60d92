// SPDX-License-Identifier: GPL-3.0-or-later
#include "dispersion/aitken_iteration.h"

#include "dispersion/engine_state.h"
#include "dispersion/secular_function.h"
#include "swcore.h"

// A layer count outside the model arrays leaves D undefined everywhere: no
// iteration is done, x keeps its value and the count is 0.
extern "C" void DATKN(double* x, const double* tolerance, int32_t* iterations) {
  if (!swcore::layerCountInRange(swcore::engineState.layerCount)) {
    *iterations = 0;
    return;
  }
  const swcore::SecularFunction d(swcore::engineState);
  swcore::aitkenIteration(d, *x, *tolerance, *iterations);
}
