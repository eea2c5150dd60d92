// SPDX-License-Identifier: GPL-3.0-or-later
// The curve file of dispfit-invert. An accepted curve holds 1 to 50 data of
// finite values.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "inversion/inversion_files.h"
#include "memory_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  dispfit::ObservedCurve curve;
  const std::string error = dispfit::readObservedCurve(text, "curve", curve);
  if (!error.empty()) {
    return 0;
  }
  const std::size_t m = curve.freq.size();
  fuzz::require(m >= 1 && static_cast<std::int64_t>(m) <= dispfit::kInversionFileLimits.maxData &&
                curve.velocity.size() == m);
  for (std::size_t j = 0; j < m; ++j) {
    fuzz::require(std::isfinite(curve.freq[j]) && std::isfinite(curve.velocity[j]));
  }
  return 0;
}
