// SPDX-License-Identifier: GPL-3.0-or-later
// Writers of shot record files for the tests only: SEG-2 in all five data
// formats, SEG-Y and Seismic Unix, either byte order. Every test file is
// made by these from a gather the test knows.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "shots/byte_source.h"
#include "shots/shot_gather.h"

namespace dispfit_test {

struct Seg2Trace {
  std::vector<double> samples;
  std::vector<std::string> strings;  // "KEYWORD value"
};

struct Seg2Layout {
  dispfit::ByteOrder order = dispfit::ByteOrder::little;
  int format = 4;
  std::vector<std::string> fileStrings;
};

std::vector<std::uint8_t> seg2Bytes(const std::vector<Seg2Trace>& traces, const Seg2Layout& layout);

// The gather's traces with SAMPLE_INTERVAL, DELAY, RECEIVER_LOCATION and
// SOURCE_LOCATION strings, and `extra` strings on every trace.
std::vector<Seg2Trace> seg2Traces(const dispfit::ShotGather& gather,
                                  const std::vector<std::string>& extra = {});

struct SegyLayout {
  dispfit::ByteOrder order = dispfit::ByteOrder::big;
  int format = 5;
  int revision = 1;             // 0, 1 or 2
  int coordinateScalar = -100;  // positions written in centimetres
  int extendedHeaders = 0;      // 3200-byte extended textual headers (revision 1 and 2)
  bool byteOrderMark = false;   // revision 2's 01020304 at bytes 3297-3300
};

std::vector<std::uint8_t> segyBytes(const dispfit::ShotGather& gather, const SegyLayout& layout);

// Seismic Unix: the traces with their headers, IEEE singles in `order`.
std::vector<std::uint8_t> seismicUnixBytes(const dispfit::ShotGather& gather,
                                           dispfit::ByteOrder order);

// The bits of an IBM single that stand for `value`, through segyio's own
// conversion (an implementation independent of the reader's).
std::uint32_t ibmBits(float value);

}  // namespace dispfit_test
