#include "thiele_interpolation_root.h"

#include "engine_state.h"
#include "secular_function.h"
#include "swcore.h"

extern "C" void DPQRT(double* x, const double* tolerance, int32_t* cyclesLeft) {
  const swcore::SecularFunction d(swcore::engineState);
  swcore::thieleInterpolationRoot(d, *x, *tolerance, *cyclesLeft);
}
