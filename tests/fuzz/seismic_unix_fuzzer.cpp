// SPDX-License-Identifier: GPL-3.0-or-later
// Seismic Unix records in either byte order. An accepted record holds 1 to kMostRecordTraces
// traces of 1 to kMostTraceSamples finite samples each, and a positive
// sample interval wherever a trace gives one.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "memory_file.h"
#include "shot_checks.h"
#include "shots/su_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  dispfit::ShotRecord record;
  std::string error;
  if (!dispfit::readSeismicUnix(std::span(data, size), "record", record, error)) {
    fuzz::require(!error.empty());
    return 0;
  }
  fuzz::requireSoundRecord(record);
  return 0;
}
