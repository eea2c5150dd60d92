// SPDX-License-Identifier: GPL-3.0-or-later
// What SEG-Y and Seismic Unix files share: the 240-byte trace header and
// traces of one sample format laid end to end.
//
// Trace header fields read (bytes counted from 1, as the formats number them):
//   37-40    offset, receiver minus source (m, no scalar)
//   71-72    coordinate scalar: > 0 multiplies, < 0 divides, 0 is 1
//   73-76    source X;  81-84  receiver (group) X
//   109-110  delay recording time (ms), times the time scalar of 215-216 when not 0
//   115-116  sample count;  117-118  sample interval (microseconds)
// Positions whose X are 0 in every trace are taken as not given, and so are
// offsets that are all 0.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "shots/byte_source.h"
#include "shots/shot_record.h"

namespace dispfit {

inline constexpr std::size_t kTraceHeaderBytes = 240;

// Bytes per sample of a SEG-Y data sample format code (revision 2's list:
// 1 IBM float, 2 32-bit, 3 16-bit, 5 IEEE single, 6 IEEE double, 7 24-bit,
// 8 8-bit, 9 64-bit integers, 10, 11, 12, 15, 16 their unsigned forms); 0
// for a code not in it (4, fixed point with gain, is obsolete and refused).
std::size_t sampleBytes(int format);

// Sample k of the trace data that start at `data`.
double sampleValue(const ByteSource& in, std::size_t data, int format, std::size_t k);

// The header at `at` (the caller checked that it lies in the file).
struct TraceHeader {
  std::size_t samples = 0;      // 0 when the header does not say
  double sampleInterval = 0.0;  // s; 0 when the header does not say
  double delay = 0.0;           // s
  double receiverX = 0.0;       // m, scaled
  double sourceX = 0.0;         // m, scaled
  double offset = 0.0;          // m
};
TraceHeader readTraceHeader(const ByteSource& in, std::size_t at);

// Reads the traces from `first` to the end of the file, each a header of
// `headerBytes` and its samples (the header's count, or `defaultSamples`
// where it gives none; `defaultInterval` likewise), into `record`; the
// record's delay is the first trace's. False with what is wrong when a
// trace runs past the end, a count is out of range, the traces do not share
// their delay, or a sample is not a finite number.
bool readTraces(const ByteSource& in, std::size_t first, std::size_t headerBytes, int format,
                std::size_t defaultSamples, double defaultInterval, ShotRecord& record,
                std::string& what);

}  // namespace dispfit
