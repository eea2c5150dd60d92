// SPDX-License-Identifier: GPL-3.0-or-later
// gpdc's printed modes: an accepted file gives every datum a positive finite
// velocity (the reciprocal of a positive slowness), a line and a mode.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "exchange/gpdc_curve.h"
#include "read_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  swcore::CurveFile curve;
  std::string error;
  if (!dispfit::parseGpdcCurve(text, "curve", curve, error)) {
    fuzz::require(!error.empty());
    return 0;
  }
  fuzz::requireUsableCurve(curve);
  return 0;
}
