// SPDX-License-Identifier: GPL-3.0-or-later
// gpdc's printed modes: an accepted file gives every datum a positive finite
// velocity (the reciprocal of a positive slowness), a line and a mode.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "exchange/gpdc_curve.h"
#include "memory_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  swcore::CurveFile curve;
  std::string error;
  if (!dispfit::parseGpdcCurve(text, "curve", curve, error)) {
    fuzz::require(!error.empty());
    return 0;
  }
  const std::size_t count = curve.velocity.size();
  fuzz::require(count > 0 && curve.line.size() == count);
  fuzz::require(curve.mode.empty() || curve.mode.size() == count);
  fuzz::require(curve.deviation.empty() || curve.deviation.size() == count);
  fuzz::require(curve.lowBound.size() == curve.highBound.size());
  fuzz::require(curve.lowBound.empty() || curve.lowBound.size() == count);
  for (std::size_t i = 0; i < count; ++i) {
    fuzz::require(std::isfinite(curve.velocity[i]) && curve.velocity[i] > 0.0);
    if (!curve.lowBound.empty()) fuzz::require(curve.lowBound[i] <= curve.highBound[i]);
  }
  return 0;
}
