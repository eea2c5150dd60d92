// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/curve_points.h"

#include <algorithm>
#include <cmath>

namespace dispfit {

std::vector<CurvePoint> curvePoints(const float* freq, const float* vr, int count) {
  std::vector<CurvePoint> points;
  points.reserve(static_cast<std::size_t>(std::max(count, 0)));
  for (int i = 0; i < count; ++i) points.push_back({freq[i], vr[i]});
  std::stable_sort(points.begin(), points.end(), [](const CurvePoint& a, const CurvePoint& b) {
    return a.frequency < b.frequency;
  });
  return points;
}

DrawableCurve drawableCurve(const float* freq, const float* vr, int count) {
  DrawableCurve curve;
  for (int i = 0; i < count; ++i) {
    if (vr[i] > 0.0f && std::isfinite(vr[i])) {
      curve.freq.push_back(freq[i]);
      curve.vr.push_back(vr[i]);
    } else {
      ++curve.withoutRoot;
    }
  }
  return curve;
}

FrequencySpan frequencySpan(const std::vector<CurvePoint>& points) {
  if (points.empty()) return {};
  return {points.front().frequency, points.back().frequency};
}

}  // namespace dispfit
