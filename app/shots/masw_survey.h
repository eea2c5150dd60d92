// SPDX-License-Identifier: GPL-3.0-or-later
// A MASW survey from its records to one curve: the records grouped by
// source position, each group's records stacked into one dispersion image,
// its ridge picked, and the offsets' picks combined (offset_statistics.h).
//
// Groups: records whose sources stand within 1 mm of each other and whose
// receivers stand within 1 mm of each other's belong together; records of
// one source on different arrays are refused, since their images cannot be
// stacked. The groups' images are computed on up to `threads` threads at
// once, each group on one thread with its own transforms; the results land
// in the group's own slot, in the order of the groups.
#pragma once

#include <atomic>
#include <cstddef>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "shots/array_limits.h"
#include "shots/dispersion_image.h"
#include "shots/offset_statistics.h"
#include "shots/pick_edit.h"
#include "shots/ridge_picking.h"
#include "shots/shot_gather.h"

namespace dispfit {

struct SurveyRequest {
  ImageRequest image;
  PickingRules picking;
  StatisticsRules statistics;

  bool operator==(const SurveyRequest&) const = default;
};

struct SourceGroup {
  double sourcePosition = 0.0;       // m
  double sourceOffset = 0.0;         // m, signed (ShotGather::sourceOffset)
  std::vector<std::size_t> records;  // indices into the gathers, in their order
};

struct OffsetResult {
  SourceGroup group;
  DispersionImage image;
  ArrayLimits limits;
  std::vector<Pick> picks;
  // The hand edits since the picks were made, oldest first; each later one
  // makes the earlier ones it overrides redundant, and those are dropped.
  std::vector<PickEdit> edits;
};

struct SurveyResult {
  std::vector<OffsetResult> offsets;  // by source position
  std::vector<CurveStatistic> curve;
};

// The groups by ascending source position; false with a message naming the
// two records when one source was recorded on two arrays.
bool groupBySource(std::span<const ShotGather> gathers, std::vector<SourceGroup>& groups,
                   std::string& error);

// Called after each group with the groups done and their count, from the
// thread that finished it, one call at a time.
using SurveyProgress = std::function<void(std::size_t done, std::size_t total)>;

// With `cancel` set (from any thread), no group is begun after it is seen;
// the groups not computed are left empty and the curve is not combined.
SurveyResult analyseSurvey(std::span<const ShotGather> gathers, std::span<const SourceGroup> groups,
                           const SurveyRequest& request, unsigned threads,
                           const SurveyProgress& progress = {},
                           const std::atomic<bool>* cancel = nullptr);

// The offsets' picks as the statistics take them, after picks were edited.
std::vector<OffsetPicks> offsetPicks(std::span<const OffsetResult> offsets);

}  // namespace dispfit
