// SPDX-License-Identifier: GPL-3.0-or-later
#include "dispersion/thiele_interpolation_root.h"

#include "dispersion/engine_state.h"
#include "dispersion/secular_function.h"
#include "swcore.h"

// A layer count outside the model arrays leaves D undefined everywhere: x
// keeps its value and the counter reports failure (0).
extern "C" void DPQRT(double* x, const double* tolerance, int32_t* cyclesLeft) {
  if (!swcore::layerCountInRange(swcore::engineState.layerCount)) {
    *cyclesLeft = 0;
    return;
  }
  const swcore::SecularFunction d(swcore::engineState);
  swcore::thieleInterpolationRoot(d, *x, *tolerance, *cyclesLeft);
}
