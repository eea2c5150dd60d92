// SPDX-License-Identifier: GPL-3.0-or-later
// The points of the dispersion chart's line series: (frequency, velocity),
// kept in ascending order of frequency.
#pragma once

#include <vector>

namespace dispfit {

struct CurvePoint {
  double frequency = 0.0;  // Hz
  double velocity = 0.0;   // m/s

  bool operator==(const CurvePoint&) const = default;
};

// The curve freq[i], vr[i] for i < count, widened to double and sorted by
// frequency; points of equal frequency keep their order.
std::vector<CurvePoint> curvePoints(const float* freq, const float* vr, int count);

// The part of a computed curve that can be drawn: the frequencies that have
// a root. A frequency without one keeps a velocity of 0 (or whatever is not a
// positive finite number) and is left out, never drawn as 0 m/s.
struct DrawableCurve {
  std::vector<float> freq;  // Hz
  std::vector<float> vr;    // m/s
  int withoutRoot = 0;      // frequencies left out

  int count() const { return static_cast<int>(vr.size()); }
};

DrawableCurve drawableCurve(const float* freq, const float* vr, int count);

struct FrequencySpan {
  double lowest = 0.0;
  double highest = 0.0;
};

// The smallest and largest frequency of the points (the bottom axis's
// automatic range); {0, 0} when there are none.
FrequencySpan frequencySpan(const std::vector<CurvePoint>& points);

}  // namespace dispfit
