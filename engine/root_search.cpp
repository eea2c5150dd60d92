#include "root_search.h"

#include "swcore.h"

#include "bracket_refinement.h"

namespace swcore {

namespace {

constexpr double kVelocityCeiling = 10.0;  // km/s

}  // namespace

bool findRoot(const SecularFunction& d, double start, double step, double tolerance,
              double& result) {
  if (!(step > 0.0)) {
    return false;
  }
  double c = (start > 0.0) ? start : step;
  double previousValue = d(c);
  for (;;) {
    c = c + step;
    const double value = d(c);
    if (!(value / previousValue > 0.0)) {
      const BracketEnd lower{c - step, previousValue};
      const BracketEnd upper{c, value};
      result = refineBracketedRoot(d, lower, upper, tolerance);
      return true;
    }
    previousValue = value;
    if (c >= kVelocityCeiling) {
      return false;
    }
  }
}

}  // namespace swcore

extern "C" void ROOT(const double* step, const double* tolerance, double* result) {
  const swcore::SecularFunction d(swcore::engineState);
  swcore::findRoot(d, swcore::engineState.startVelocity, *step, *tolerance, *result);
}
