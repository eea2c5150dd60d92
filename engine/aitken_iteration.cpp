#include "aitken_iteration.h"

#include "engine_state.h"
#include "secular_function.h"
#include "swcore.h"

extern "C" void DATKN(double* x, const double* tolerance, int32_t* iterations) {
  const swcore::SecularFunction d(swcore::engineState);
  swcore::aitkenIteration(d, *x, *tolerance, *iterations);
}
