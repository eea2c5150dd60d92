// SPDX-License-Identifier: GPL-3.0-or-later
// SEG-2 shot records (revision 1, the format of the SEG's engineering
// committee, Pullan 1990), in either byte order.
//
// A file opens with its file descriptor block: the ID 3A55 (its two bytes
// tell the byte order), the revision, the size of the trace pointer
// sub-block and the trace count, the string and line terminators, then from
// byte 32 one 32-bit pointer per trace and the file's descriptor strings.
// Each trace starts where its pointer says with a trace descriptor block:
// the ID 4422, the block's size, the data block's size, the sample count,
// the data format code and, from its byte 32, the trace's descriptor
// strings; its samples follow the block. A descriptor string is a 16-bit
// count of its bytes (the count included), a keyword and its value, and its
// terminator; a count of 0 ends the strings.
//
// Data formats: 1 16-bit and 2 32-bit two's complement integers, 3 20-bit
// floating point (four samples in five 16-bit words: the first holds the
// four 4-bit exponents, the first sample's in its top bits, the other four
// the 16-bit two's-complement mantissas; a sample is its mantissa times two
// to its exponent), 4 32-bit and 5 64-bit IEEE floating point.
//
// Strings read, from a trace's block (SOURCE_LOCATION also from the file's,
// for traces that give none):
//   SAMPLE_INTERVAL    s between samples; none: the record's geometry asks for it
//   DELAY              s from the shot to the first sample; default 0
//   DESCALING_FACTOR   multiplies every sample; default 1
//   RECEIVER_LOCATION  m, the first of its numbers; none: the geometry asks for it
//   SOURCE_LOCATION    m, the first of its numbers; likewise
//   STACK              the number of shots summed; default 1, read only to check it
// Other strings are passed over. A value that is not a number is refused,
// named by its string and trace.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "shots/shot_record.h"

namespace dispfit {

// Whether the bytes open with a SEG-2 file descriptor block ID.
bool looksLikeSeg2(std::span<const std::uint8_t> bytes);

// The record in `bytes`; on failure false and, in `error`, what is wrong
// ("<name>: trace 3: ..."). `name` is how messages name the file.
bool readSeg2(std::span<const std::uint8_t> bytes, const std::string& name, ShotRecord& record,
              std::string& error);

}  // namespace dispfit
