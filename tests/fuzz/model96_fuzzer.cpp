// SPDX-License-Identifier: GPL-3.0-or-later
// CPS model96 files: an accepted model has 1 to 20 layers, each with a
// positive finite Vs, Vp and density and a thickness not negative.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "exchange/model96.h"
#include "read_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  constexpr swcore::InputLimits kLimits{20, 0};
  swcore::ModelFile model;
  std::string error;
  if (!dispfit::parseModel96(text, "model", kLimits, model, error)) {
    fuzz::require(!error.empty());
    return 0;
  }
  fuzz::requireUsableModel(model, 20);
  return 0;
}
