// SPDX-License-Identifier: GPL-3.0-or-later
// SEG-2 shot records. An accepted record holds 1 to kMostRecordTraces
// traces of 1 to kMostTraceSamples finite samples each, and a positive
// sample interval wherever a trace gives one.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "memory_file.h"
#include "shot_checks.h"
#include "shots/seg2_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  dispfit::ShotRecord record;
  std::string error;
  if (!dispfit::readSeg2(std::span(data, size), "record", record, error)) {
    fuzz::require(!error.empty());
    return 0;
  }
  fuzz::requireSoundRecord(record);
  return 0;
}
