// SPDX-License-Identifier: GPL-3.0-or-later
#include "inversion/step_limit.h"

#include <cmath>

namespace dispfit {

void limitStep(float* step, const float* params, const float* upper, const float* lower, int count,
               float threshold) {
  for (int i = 0; i < count; ++i) {
    const double d = step[i];
    const double x = params[i];
    float fraction = 0.0f;
    if (d > threshold) {
      fraction = static_cast<float>((upper[i] - x) / d);
    } else if (std::fabs(d) > threshold) {
      fraction = static_cast<float>((lower[i] - x) / d);
    }
    if (fraction < 1.0f) step[i] = static_cast<float>(static_cast<double>(fraction) * d);
  }
}

}  // namespace dispfit
