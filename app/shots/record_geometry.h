// SPDX-License-Identifier: GPL-3.0-or-later
// From a record as its file gives it to a shot gather: the time base and the
// geometry, each from the user's overrides where given, else from the file.
//
// Receivers: --first X0 --spacing DX put receiver i (from 1) at
// X0 + (i - 1) DX; else each trace's own position (SEG-2's
// RECEIVER_LOCATION, SEG-Y's receiver X), else its offset from the source.
// Source: --source X, else the traces' own source position (one for all),
// else the receivers' positions less their offsets. A receiver range A B
// (from 1, both included) keeps those traces only, after the positions are
// set. What cannot be found is named with the trace and the option that
// gives it; a receiver at the source, receivers out of order or traces of
// different lengths or sample intervals are refused.
#pragma once

#include <optional>
#include <string>
#include <utility>

#include "shots/shot_gather.h"
#include "shots/shot_record.h"

namespace dispfit {

struct GeometryOverrides {
  std::optional<double> firstReceiver;                           // m
  std::optional<double> spacing;                                 // m, != 0
  std::optional<double> source;                                  // m
  std::optional<double> sampleInterval;                          // s, > 0
  std::optional<std::pair<std::size_t, std::size_t>> receivers;  // from 1, A < B

  bool operator==(const GeometryOverrides&) const = default;
};

bool resolveGeometry(const ShotRecord& record, const GeometryOverrides& overrides,
                     ShotGather& gather, std::string& error);

}  // namespace dispfit
