// SPDX-License-Identifier: GPL-3.0-or-later
// The records of a survey made ready for its images: each placed by the
// settings' geometry (record_geometry.h) and checked against the image's
// highest frequency, then grouped by source position (masw_survey.h).
// dispfit-masw and the shot-records window place records the same way.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "shots/masw_settings.h"
#include "shots/shot_gather.h"
#include "shots/shot_record.h"

namespace dispfit {

struct PlacedRecords {
  std::vector<ShotGather> gathers;  // in the records' order
  std::vector<SourceGroup> groups;
};

// False with a message naming the record where one cannot be placed, its
// Nyquist frequency lies at or below the image's highest frequency, or one
// source was recorded on two arrays. The settings are valid
// (maswSettingFaults).
bool placeRecords(std::span<const ShotRecord> records, const MaswSettings& settings,
                  PlacedRecords& placed, std::string& error);

// The longest sample interval the records' first traces give (s), for
// checking settings against the records before they are placed; none when
// no record gives one.
std::optional<double> longestSampleInterval(std::span<const ShotRecord> records);

}  // namespace dispfit
