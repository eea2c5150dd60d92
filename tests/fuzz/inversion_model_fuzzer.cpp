// SPDX-License-Identifier: GPL-3.0-or-later
// The model file of dispfit-invert. An accepted model holds 1 to 20 layers
// of finite values.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "inversion/inversion_files.h"
#include "memory_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  dispfit::LayeredModel model;
  const std::string error = dispfit::readLayeredModel(text, "model", model);
  if (!error.empty()) {
    return 0;
  }
  const std::size_t n = model.vs.size();
  fuzz::require(n >= 1 && static_cast<std::int64_t>(n) <= dispfit::kInversionFileLimits.maxLayers);
  fuzz::require(model.thickness.size() == n && model.density.size() == n);
  for (std::size_t i = 0; i < n; ++i) {
    fuzz::require(std::isfinite(model.thickness[i]) && std::isfinite(model.vs[i]) &&
                  std::isfinite(model.density[i]));
  }
  return 0;
}
