// SPDX-License-Identifier: GPL-3.0-or-later
// A shot gather ready for processing: one source position, receivers on a
// line, every trace on one time base. Units: s and m.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace dispfit {

struct ShotGather {
  std::string name;                         // the file's, for messages
  double sampleInterval = 0.0;              // s, > 0
  double delay = 0.0;                       // s from the shot to the first sample
  double sourcePosition = 0.0;              // m along the line
  std::vector<double> receiverPositions;    // m along the line, one a trace, strictly monotonic
  std::vector<std::vector<double>> traces;  // the same number of samples each

  std::size_t sampleCount() const { return traces.empty() ? 0 : traces.front().size(); }
  // m from the source to each receiver, > 0.
  std::vector<double> distances() const;
  // Signed distance from the source to the nearest receiver: positive when
  // the array lies at greater positions than the source (a forward shot).
  double sourceOffset() const;
  // m between the outermost receivers, and their mean spacing.
  double arrayLength() const;
  double meanSpacing() const;
};

}  // namespace dispfit
