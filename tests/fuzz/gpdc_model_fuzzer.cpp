// SPDX-License-Identifier: GPL-3.0-or-later
// gpdc's layered models: an accepted model has 1 to 20 layers, each with a
// positive finite Vs, Vp and density and a thickness not negative.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "exchange/gpdc_model.h"
#include "memory_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  constexpr swcore::InputLimits kLimits{20, 0};
  swcore::ModelFile model;
  std::string error;
  if (!dispfit::parseGpdcModel(text, "model", kLimits, model, error)) {
    fuzz::require(!error.empty());
    return 0;
  }
  const std::size_t layers = model.shearVelocity.size();
  fuzz::require(layers >= 1 && layers <= 20);
  fuzz::require(model.thickness.size() == layers && model.density.size() == layers);
  fuzz::require(model.pVelocity.size() == layers);
  for (std::size_t i = 0; i < layers; ++i) {
    fuzz::require(std::isfinite(model.shearVelocity[i]) && model.shearVelocity[i] > 0.0);
    fuzz::require(std::isfinite(model.density[i]) && model.density[i] > 0.0);
    fuzz::require(std::isfinite(model.pVelocity[i]) && model.pVelocity[i] > 0.0);
    if (i + 1 < layers) fuzz::require(model.thickness[i] >= 0.0);
  }
  return 0;
}
