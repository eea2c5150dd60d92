// SPDX-License-Identifier: GPL-3.0-or-later
// A measured field curve in any of its layouts (the batch format, a curve
// table with or without a header, by frequency, wavelength or period). An
// accepted curve holds at least 3 points of positive finite values in
// strictly descending frequency, and at most the inversion's points are
// inverted.
#include <cmath>
#include <cstddef>
#include <cstdint>
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
  for (std::size_t i = 0; i < curve.points.size(); ++i) {
    const dispfit::MeasuredPoint& p = curve.points[i];
    fuzz::require(std::isfinite(p.frequency) && p.frequency > 0.0);
    fuzz::require(std::isfinite(p.velocity) && p.velocity > 0.0);
    if (i > 0) fuzz::require(p.frequency < curve.points[i - 1].frequency);
  }
  return 0;
}
