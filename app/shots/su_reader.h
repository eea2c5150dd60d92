// SPDX-License-Identifier: GPL-3.0-or-later
// Seismic Unix records: SEG-Y traces without the file's headers, each a
// 240-byte trace header (segy_traces.h) and its samples as IEEE single
// floats, all in the byte order of the machine that wrote them. The byte
// order is the one in which every header's sample count (bytes 115-116) is
// positive and the traces fill the file exactly, little endian tried first;
// a file that fits neither is refused.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "shots/shot_record.h"

namespace dispfit {

// `name` is how messages name the file; on failure false with what is wrong.
bool readSeismicUnix(std::span<const std::uint8_t> bytes, const std::string& name,
                     ShotRecord& record, std::string& error);

}  // namespace dispfit
