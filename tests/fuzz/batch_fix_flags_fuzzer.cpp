// SPDX-License-Identifier: GPL-3.0-or-later
// The batch run's fix flags, LX.TXT: two flags per layer. The first byte
// of the input picks the layer count (1 to 50), the rest is the file.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "batch/batch_files.h"
#include "dispersion/engine_state.h"
#include "memory_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) {
    return -1;
  }
  const std::size_t count = 2 * (1 + data[0] % swcore::kMaxLayers);
  const fuzz::MemoryFile file(data + 1, size - 1);
  if (!file.complete()) {
    return -1;
  }
  std::vector<std::int32_t> flags;
  std::string error;
  if (!swcore::readFixFlags(file.path(), count, flags, error)) {
    fuzz::require(!error.empty());
    return 0;
  }
  fuzz::require(flags.size() == count);
  return 0;
}
