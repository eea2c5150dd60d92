#include "root_search.h"

#include "engine_state.h"
#include "secular_function.h"
#include "swcore.h"

extern "C" void ROOT(const double* step, const double* tolerance, double* result) {
  const swcore::SecularFunction d(swcore::engineState);
  swcore::findRoot(d, swcore::engineState.startVelocity, *step, *tolerance, *result);
}
