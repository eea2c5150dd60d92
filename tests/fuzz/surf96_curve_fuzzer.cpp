// SPDX-License-Identifier: GPL-3.0-or-later
// SURF96 dispersion lines: an accepted file gives every datum a positive finite
// velocity, a line and a mode, and a deviation for all or none.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "exchange/surf96_curve.h"
#include "read_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  swcore::CurveFile curve;
  std::string error;
  if (!dispfit::parseSurf96Curve(text, "curve", curve, error)) {
    fuzz::require(!error.empty());
    return 0;
  }
  fuzz::requireUsableCurve(curve);
  return 0;
}
