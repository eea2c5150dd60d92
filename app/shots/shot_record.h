// SPDX-License-Identifier: GPL-3.0-or-later
// One shot record as a file gives it: the samples of every trace, the time
// base, and what the file says of where the source and each receiver stood.
// Units: seconds and metres; positions along the line of the array.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace dispfit {

struct RecordTrace {
  std::vector<double> samples;             // in the file's units, descaled where it says how
  std::optional<double> sampleInterval;    // s; the file's own, when it gives one for the trace
  std::optional<double> receiverPosition;  // m along the line
  std::optional<double> sourcePosition;    // m along the line
  std::optional<double> offset;            // m, receiver minus source, when only that is given
};

struct ShotRecord {
  std::string name;    // how messages name the file
  std::string format;  // "SEG-2", "SEG-Y" or "Seismic Unix", for messages
  double delay = 0.0;  // s from the shot to the first sample (negative: before it)
  std::vector<RecordTrace> traces;
};

// The most traces and samples a record file may hold: far beyond any
// engineering seismograph (a few hundred channels, tens of thousands of
// samples), and small enough that a corrupt count is refused before memory
// is taken for it.
inline constexpr std::size_t kMostRecordTraces = 4096;
inline constexpr std::size_t kMostTraceSamples = 1u << 20;

}  // namespace dispfit
