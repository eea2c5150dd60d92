// SPDX-License-Identifier: GPL-3.0-or-later
// SEG-Y shot records, revisions 0, 1 and 2, big or little endian.
//
// The file: a 3200-byte textual header (passed over), the 400-byte binary
// header, from revision 1 on as many 3200-byte extended textual headers as
// its bytes 3505-3506 say, then the traces (segy_traces.h), each a 240-byte
// header (from revision 2 on with as many further 240-byte headers as bytes
// 3507-3510 say) and its samples.
//
// Binary header fields read (bytes counted from 1):
//   3217-3218  sample interval (microseconds), for traces whose header gives none
//   3221-3222  sample count, likewise
//   3225-3226  data sample format code (segy_traces.h)
//   3269-3272  revision 2's 32-bit sample count, where 3221-3222 is 0
//   3273-3280  revision 2's sample interval as an IEEE double (microseconds), where 3217-3218 is 0
//   3297-3300  revision 2's byte-order mark, 16909060 (01020304 hex) as written
//   3501, 3502 major and minor revision
// The byte order is the mark's where the file has one; otherwise big endian
// when the format code read so is one the format knows, else little endian
// when it is so read, else the file is refused.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "shots/shot_record.h"

namespace dispfit {

inline constexpr std::size_t kSegyFileHeaderBytes = 3600;

// `name` is how messages name the file; on failure false with what is wrong.
bool readSegy(std::span<const std::uint8_t> bytes, const std::string& name, ShotRecord& record,
              std::string& error);

}  // namespace dispfit
