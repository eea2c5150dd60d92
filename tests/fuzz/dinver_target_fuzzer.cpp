// SPDX-License-Identifier: GPL-3.0-or-later
// Geopsy's dinver targets, as a gzip-compressed tar archive or as the XML in
// it (UTF-8 or UTF-16): an accepted target gives every point a positive finite
// velocity, a line and a mode, and a band with its low end below its high end
// for all points or none.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "exchange/dinver_target.h"
#include "read_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  swcore::CurveFile curve;
  std::string error;
  if (!dispfit::parseDinverTarget(text, "curve", curve, error)) {
    fuzz::require(!error.empty());
    return 0;
  }
  fuzz::requireUsableCurve(curve);
  return 0;
}
