// SPDX-License-Identifier: GPL-3.0-or-later
// A model file in either dialect (the free format or the headed model table).
// An accepted model holds 1 to 50 layers of positive finite values, and its
// table, written out, reads back as the same model.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "files/model_file.h"
#include "memory_file.h"

namespace {

constexpr swcore::InputLimits kLimits{50, 50};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  swcore::ModelFile model;
  std::string error;
  if (!swcore::parseModelText(text, "model", kLimits, model, error)) {
    fuzz::require(!error.empty());
    return 0;
  }
  const std::size_t n = model.shearVelocity.size();
  fuzz::require(n >= 1 && n <= 50);
  fuzz::require(model.thickness.size() == n && model.density.size() == n);
  fuzz::require(model.pVelocity.empty() || model.pVelocity.size() == n);
  for (std::size_t i = 0; i < n; ++i) {
    fuzz::require(std::isfinite(model.thickness[i]) && std::isfinite(model.shearVelocity[i]) &&
                  model.shearVelocity[i] > 0.0 && model.density[i] > 0.0);
  }
  swcore::ModelFile again;
  fuzz::require(
      swcore::parseModelTable(swcore::formatModelTable(model), "again", kLimits, again, error));
  fuzz::require(again == model);
  return 0;
}
