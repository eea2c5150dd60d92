#include "aitken_iteration.h"

#include <cmath>

#include "swcore.h"

namespace swcore {

void aitkenIteration(const SecularFunction& d, double& x, double tolerance, int32_t& iterations) {
  const int32_t limit = iterations;
  iterations = 0;
  if (limit < 1) {
    return;
  }
  for (;;) {
    ++iterations;
    const double y1 = d(x);
    const double y2 = d(y1);
    const double change = std::abs(y1 - y2);
    if (change < tolerance || std::isnan(change)) {
      x = y2;
      return;
    }
    x = y2 - (y2 - y1) * (y2 - y1) / (y2 - 2.0 * y1 + x);
    if (iterations == limit) {
      return;
    }
  }
}

}  // namespace swcore

extern "C" void DATKN(double* x, const double* tolerance, int32_t* iterations) {
  const swcore::SecularFunction d(swcore::engineState);
  swcore::aitkenIteration(d, *x, *tolerance, *iterations);
}
