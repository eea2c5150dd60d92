// SPDX-License-Identifier: GPL-3.0-or-later
// Editing an offset's picks by hand, as the shot-records window does: a
// pick added or moved lands on the image's nearest frequency (one pick a
// frequency, a new one replacing the old), a pick deleted is gone, and a
// band dragged over the image picks its ridge anew inside it. Each change
// flags the picks against the array's limits again and is kept in the
// offset's edits (pick_edit.h); the statistics are then recomputed from all
// offsets (offset_statistics.h).
//
// When the settings change, an offset's edits are made again on its new
// picks where that means the same: the records and their places are the
// same, so a pick is still a reading of the same wave at a frequency. A
// placed pick is made again where its frequency is one of the new image's
// and its velocity inside the new image's; a removal where its frequency is
// one of the image's; a band always, on the new image. What the records'
// places change (positions, spacing, source, receivers, sample interval)
// turns every velocity read from the image, so no edit survives that.
#pragma once

#include <cstddef>
#include <optional>
#include <span>

#include "shots/masw_survey.h"
#include "shots/pick_edit.h"

namespace dispfit {

// Adds a pick at the image frequency nearest `frequency` with `velocity`
// (clamped to the image's velocities); the index of the pick afterwards.
std::size_t addPick(OffsetResult& offset, double frequency, double velocity);

// Moves pick `index` to the given point, as a delete and an add; the moved
// pick's index afterwards. An index past the picks changes nothing.
std::optional<std::size_t> movePick(OffsetResult& offset, std::size_t index, double frequency,
                                    double velocity);

void deletePick(OffsetResult& offset, std::size_t index);

// Replaces the picks inside the band's frequencies with the ridge followed
// inside the band (its velocities the window, the strongest peak at its
// middle frequency the seed); picks outside the band stay.
void repickInBand(OffsetResult& offset, const PickBand& band, const PickingRules& rules);

// Picks the offset afresh by the rules and forgets its edits.
void repickOffset(OffsetResult& offset, const PickingRules& rules);

// How many edits were made again and how many could not be.
struct EditsCarried {
  std::size_t kept = 0;
  std::size_t dropped = 0;

  EditsCarried& operator+=(const EditsCarried& other) {
    kept += other.kept;
    dropped += other.dropped;
    return *this;
  }
};

// Makes `edits` again, in their order, on the offset as it is picked now
// (the rules are the band's); the offset keeps those made as its edits.
EditsCarried replayEdits(OffsetResult& offset, std::span<const PickEdit> edits,
                         const PickingRules& rules);

// Picks the offset afresh by the rules and makes its edits again on the new
// picks.
EditsCarried repickKeepingEdits(OffsetResult& offset, const PickingRules& rules);

// Makes the edits of each offset of `before` again on the offset of `after`
// with the same source position and records, `after` being a new analysis
// of the same placed records; offsets without such a match lose theirs.
EditsCarried carryEdits(const SurveyResult& before, SurveyResult& after, const PickingRules& rules);

// The edits of every offset of the survey.
std::size_t editCount(const SurveyResult& survey);

}  // namespace dispfit
