// SPDX-License-Identifier: GPL-3.0-or-later
#include "shots/placed_records.h"

#include <algorithm>

#include "core/number_text.h"

namespace dispfit {

bool placeRecords(std::span<const ShotRecord> records, const MaswSettings& settings,
                  PlacedRecords& placed, std::string& error) {
  PlacedRecords out;
  const double highest = settings.request.image.grid.frequency.last;
  for (const ShotRecord& record : records) {
    ShotGather gather;
    if (!resolveGeometry(record, settings.geometry, gather, error)) return false;
    if (!belowNyquist(highest, gather.sampleInterval)) {
      error = record.name + ": the image's highest frequency, " +
              roundedText(highest, Figure::Frequency) +
              " Hz, lies at or above the record's Nyquist frequency, " +
              roundedText(0.5 / gather.sampleInterval, Figure::Frequency) + " Hz";
      return false;
    }
    out.gathers.push_back(std::move(gather));
  }
  if (!groupBySource(out.gathers, out.groups, error)) return false;
  placed = std::move(out);
  return true;
}

std::optional<double> longestSampleInterval(std::span<const ShotRecord> records) {
  std::optional<double> longest;
  for (const ShotRecord& record : records) {
    if (record.traces.empty() || !record.traces.front().sampleInterval) continue;
    longest = std::max(longest.value_or(0.0), *record.traces.front().sampleInterval);
  }
  return longest;
}

}  // namespace dispfit
