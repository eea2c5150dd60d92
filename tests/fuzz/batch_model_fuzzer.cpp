// SPDX-License-Identifier: GPL-3.0-or-later
// The batch run's model file, SHR.TXT. An accepted model holds 1 to 50
// layers, every S velocity and density positive, and no negative thickness
// above the half-space; a refused one says why.
#include <cstddef>
#include <cstdint>
#include <string>

#include "batch/batch_files.h"
#include "dispersion/engine_state.h"
#include "memory_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const fuzz::MemoryFile file(data, size);
  if (!file.complete()) {
    return -1;
  }
  swcore::ModelFile model;
  std::string error;
  if (!swcore::readModelFile(file.path(), model, error)) {
    fuzz::require(!error.empty());
    return 0;
  }
  const std::size_t n = model.shearVelocity.size();
  fuzz::require(n >= 1 && n <= swcore::kMaxLayers);
  fuzz::require(model.thickness.size() == n && model.density.size() == n);
  for (std::size_t i = 0; i < n; ++i) {
    fuzz::require(model.shearVelocity[i] > 0.0 && model.density[i] > 0.0);
    fuzz::require(i + 1 == n || model.thickness[i] >= 0.0);
  }
  return 0;
}
