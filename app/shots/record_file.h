// SPDX-License-Identifier: GPL-3.0-or-later
// A shot record file of any of the formats read: SEG-2 (told by its first
// two bytes), Seismic Unix (a name ending in .su), SEG-Y (a name ending in
// .sgy or .segy); any other file is tried as SEG-Y, then as Seismic Unix.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "shots/shot_record.h"

namespace dispfit {

// The largest record file read: 256 MiB, hundreds of times a long
// engineering record, so a wrong file is refused before it fills memory.
inline constexpr std::uintmax_t kMostRecordFileBytes = 256u << 20;

// The record in `bytes`; `name` (the file's path) names it in messages and
// its ending picks the format as above.
bool readRecordBytes(std::span<const std::uint8_t> bytes, const std::string& name,
                     ShotRecord& record, std::string& error);

// The record in the file at `path`; a file that cannot be read, is a folder
// or is larger than kMostRecordFileBytes is an error naming it.
bool readRecordFile(const std::string& path, ShotRecord& record, std::string& error);

}  // namespace dispfit
