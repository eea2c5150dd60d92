// SPDX-License-Identifier: GPL-3.0-or-later
// What every record reader promises of a record it accepts, for the fuzz
// targets; a record resolved with a given geometry must also make a gather.
#pragma once

#include <cmath>

#include "memory_file.h"
#include "shots/record_geometry.h"
#include "shots/shot_record.h"

namespace fuzz {

inline void requireSoundRecord(const dispfit::ShotRecord& record) {
  require(!record.traces.empty() && record.traces.size() <= dispfit::kMostRecordTraces);
  for (const dispfit::RecordTrace& trace : record.traces) {
    require(!trace.samples.empty() && trace.samples.size() <= dispfit::kMostTraceSamples);
    for (const double s : trace.samples) require(std::isfinite(s));
    if (trace.sampleInterval) require(*trace.sampleInterval > 0.0);
  }
  require(std::isfinite(record.delay));
  // With the whole geometry given, only traces of different lengths may
  // still keep the record from becoming a gather.
  dispfit::GeometryOverrides geometry;
  geometry.firstReceiver = 0.0;
  geometry.spacing = 1.0;
  geometry.source = -5.0;
  geometry.sampleInterval = 0.001;
  dispfit::ShotGather gather;
  std::string error;
  if (dispfit::resolveGeometry(record, geometry, gather, error)) {
    require(gather.traces.size() == gather.receiverPositions.size());
  } else {
    require(!error.empty());
  }
}

}  // namespace fuzz
