#include "thiele_interpolation_root.h"

#include <cmath>

#include "swcore.h"

namespace swcore {

namespace {

constexpr int kCycles = 10;
constexpr int kTrialPoints = 8;
constexpr int kTableRoom = 10;
constexpr double kTrialSpacing = 0.10000000149011612;  // 0.1f, km/s
constexpr double kHuge = 1e35;

double signOf(double v) {
  return v < 0.0 ? -1.0 : 1.0;
}

// Stand-in for a quotient whose denominator vanished in floating point.
double hugeWithSign(double denominator, double numerator) {
  return kHuge * signOf(denominator) * signOf(numerator);
}

bool negligible(double g) {
  return std::abs(g) + 1.0 == 1.0;
}

}  // namespace

void thieleInterpolationRoot(const SecularFunction& d, double& x, double tolerance,
                             int32_t& cyclesLeft) {
  double u[kTableRoom] = {};
  double inverseDiff[kTableRoom] = {};
  double g = 0.0;
  cyclesLeft = kCycles;
  for (;;) {
    const double start = x;
    for (int i = 0; i < kTrialPoints; ++i) {
      const double xi = (i <= 2) ? start + kTrialSpacing * i : g;
      u[i] = d(xi);
      g = xi;
      if (i == 0) {
        inverseDiff[0] = xi;
      } else {
        // Inverse differences of x with respect to u.
        for (int j = 0; j < i; ++j) {
          g = g - inverseDiff[j];
          const double du = u[i] - u[j];
          g = negligible(g) ? hugeWithSign(g, du) : du / g;
        }
        inverseDiff[i] = g;
        // The continued fraction at u = 0, from the innermost term out.
        g = 0.0;
        for (int j = i; j >= 1; --j) {
          g = g + inverseDiff[j];
          g = negligible(g) ? hugeWithSign(g, -u[j - 1]) : -u[j - 1] / g;
        }
        g = inverseDiff[0] + g;
      }
      if (std::abs(u[i]) <= tolerance || std::isnan(u[i])) {
        x = g;
        return;
      }
    }
    x = g;
    cyclesLeft = cyclesLeft - 1;
    if (cyclesLeft == 0) {
      return;
    }
  }
}

}  // namespace swcore

extern "C" void DPQRT(double* x, const double* tolerance, int32_t* cyclesLeft) {
  const swcore::SecularFunction d(swcore::engineState);
  swcore::thieleInterpolationRoot(d, *x, *tolerance, *cyclesLeft);
}
