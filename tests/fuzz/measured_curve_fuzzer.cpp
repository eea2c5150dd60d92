// SPDX-License-Identifier: GPL-3.0-or-later
// A measured field curve in any of its layouts (the batch format, a curve
// table with or without a header, by frequency, wavelength or period). An
// accepted curve holds at least 3 points of positive finite values, each
// mode's in strictly descending frequency, and at most the inversion's
// points are inverted.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>

#include "memory_file.h"
#include "site/measured_curve_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const dispfit::CurvePreparation prepared = dispfit::readMeasuredCurve(text, "curve");
  if (!prepared.curve) {
    fuzz::require(!prepared.error.empty());
    return 0;
  }
  const dispfit::MeasuredCurve& curve = *prepared.curve;
  fuzz::require(curve.points.size() >= 3);
  fuzz::require(!curve.inverted.empty() &&
                curve.inverted.size() <= static_cast<std::size_t>(dispfit::maxInvertedPoints()));
  std::map<int, double> lastFrequency;  // of each mode's points so far
  for (const dispfit::MeasuredPoint& p : curve.points) {
    fuzz::require(std::isfinite(p.frequency) && p.frequency > 0.0);
    fuzz::require(std::isfinite(p.velocity) && p.velocity > 0.0);
    const auto last = lastFrequency.find(p.mode.value_or(0));
    if (last != lastFrequency.end()) fuzz::require(p.frequency < last->second);
    lastFrequency[p.mode.value_or(0)] = p.frequency;
  }
  return 0;
}
