// SPDX-License-Identifier: GPL-3.0-or-later
// The chart's velocity axis on fixed scaling, and how it is fitted to a
// computed dispersion curve.
#pragma once

namespace dispfit {

struct AxisRange {
  double minimum = 0.0;
  double maximum = 0.0;

  bool operator==(const AxisRange&) const = default;
};

// An axis whose limits are set one at a time, as the chart does it: a
// minimum above the current maximum, a maximum below the current minimum or
// a value that is not finite is refused and leaves the axis unchanged.
class FixedAxis {
 public:
  explicit FixedAxis(AxisRange range) : range_(range) {}

  bool setMinimum(double value);
  bool setMaximum(double value);
  AxisRange range() const { return range_; }

 private:
  AxisRange range_;
};

// Fits the axis to the curve vr[0 .. count-1] starting from its current
// range: raise the maximum to vr[0] first when it lies below it, then span
// vr[0] .. vr[0] + 10, widen to every value of the curve and add 50 m/s on
// both sides. The result runs from (smallest vr) - 50 to
// max(largest vr, vr[0] + 10) + 50. With count <= 0 the range is unchanged.
AxisRange fitVelocityAxis(AxisRange current, const float* vr, int count);

}  // namespace dispfit
