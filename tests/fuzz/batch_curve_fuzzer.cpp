// SPDX-License-Identifier: GPL-3.0-or-later
// The batch run's observed curve, FIT.TXT. An accepted curve holds 0 to 50
// data, each with a positive frequency; a refused one says why.
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
  swcore::CurveFile curve;
  std::string error;
  if (!swcore::readCurveFile(file.path(), curve, error)) {
    fuzz::require(!error.empty());
    return 0;
  }
  const std::size_t m = curve.frequency.size();
  fuzz::require(m <= swcore::kMaxData && curve.velocity.size() == m);
  for (std::size_t j = 0; j < m; ++j) {
    fuzz::require(curve.frequency[j] > 0.0);
  }
  return 0;
}
