// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/velocity_axis.h"

#include <algorithm>
#include <cmath>

namespace dispfit {

bool FixedAxis::setMinimum(double value) {
  if (!std::isfinite(value) || value > range_.maximum) return false;
  range_.minimum = value;
  return true;
}

bool FixedAxis::setMaximum(double value) {
  if (!std::isfinite(value) || value < range_.minimum) return false;
  range_.maximum = value;
  return true;
}

AxisRange fitVelocityAxis(AxisRange current, const float* vr, int count) {
  if (count <= 0) return current;
  FixedAxis axis(current);
  const double first = vr[0];

  // Lift the axis over the first value so that the next step is allowed;
  // a refusal here is of no consequence.
  if (!(axis.range().maximum >= first)) {
    axis.setMaximum(first);
    axis.setMinimum(first - 50.0);
  }
  axis.setMinimum(first);
  axis.setMaximum(first + 10.0);
  for (int i = 0; i < count; ++i) {
    const double v = vr[i];
    axis.setMinimum(std::min(axis.range().minimum, v));
    axis.setMaximum(std::max(axis.range().maximum, v));
  }
  axis.setMinimum(axis.range().minimum - 50.0);
  axis.setMaximum(axis.range().maximum + 50.0);
  return axis.range();
}

}  // namespace dispfit
