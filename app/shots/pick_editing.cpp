// SPDX-License-Identifier: GPL-3.0-or-later
#include "shots/pick_editing.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace dispfit {
namespace {

// A frequency lies on an image's when it is within this share of a step of
// one of them: the grid's values are computed as first + i step, and a
// frequency of an earlier image with another first value or step differs
// from the same value on this one by rounding alone.
constexpr double kOnGrid = 1e-6;

std::size_t nearestRow(const DispersionImage& image, double frequency) {
  const EvenSteps& f = image.grid.frequency;
  return std::size_t(std::clamp(std::round((frequency - f.first) / f.step), 0.0,
                                double(image.frequencyCount - 1)));
}

// The row of `frequency` when it is one of the image's frequencies.
std::optional<std::size_t> rowOf(const DispersionImage& image, double frequency) {
  const EvenSteps& f = image.grid.frequency;
  const double row = std::round((frequency - f.first) / f.step);
  if (row < 0.0 || row > double(image.frequencyCount - 1)) return std::nullopt;
  if (std::abs(frequency - f.at(std::size_t(row))) > kOnGrid * f.step) return std::nullopt;
  return std::size_t(row);
}

double powerAt(const DispersionImage& image, double frequency, double velocity) {
  const EvenSteps& v = image.grid.velocity;
  const auto l = std::size_t(
      std::clamp(std::round((velocity - v.first) / v.step), 0.0, double(image.velocityCount - 1)));
  return image.at(nearestRow(image, frequency), l);
}

double highestVelocity(const DispersionImage& image) {
  return image.grid.velocity.at(image.velocityCount - 1);
}

void sortPicks(std::vector<Pick>& picks) {
  std::sort(picks.begin(), picks.end(),
            [](const Pick& a, const Pick& b) { return a.frequency < b.frequency; });
}

bool withinBand(double frequency, const PickBand& band) {
  return frequency >= std::min(band.frequencyA, band.frequencyB) - 1e-9 &&
         frequency <= std::max(band.frequencyA, band.frequencyB) + 1e-9;
}

// Keeps `edit` as the offset's latest, dropping the earlier edits it makes
// redundant: any at the same frequency for a pick placed or removed; those
// at frequencies inside it, and narrower bands, for a band.
void keepEdit(OffsetResult& offset, const PickEdit& edit) {
  std::erase_if(offset.edits, [&](const PickEdit& earlier) {
    if (edit.kind != PickEdit::Kind::band) {
      return earlier.kind != PickEdit::Kind::band && earlier.frequency == edit.frequency;
    }
    if (earlier.kind != PickEdit::Kind::band) return withinBand(earlier.frequency, edit.band);
    return withinBand(earlier.band.frequencyA, edit.band) &&
           withinBand(earlier.band.frequencyB, edit.band);
  });
  offset.edits.push_back(edit);
}

// Removes the pick at image frequency `f`, if any, and keeps the removal.
void removeAt(OffsetResult& offset, double f) {
  std::erase_if(offset.picks, [f](const Pick& p) { return p.frequency == f; });
  keepEdit(offset, {PickEdit::Kind::removed, f, 0.0, {}});
}

}  // namespace

std::size_t addPick(OffsetResult& offset, double frequency, double velocity) {
  const DispersionImage& image = offset.image;
  const double f = image.grid.frequency.at(nearestRow(image, frequency));
  const double v = std::clamp(velocity, image.grid.velocity.first, highestVelocity(image));
  std::erase_if(offset.picks, [f](const Pick& p) { return p.frequency == f; });
  offset.picks.push_back({f, v, powerAt(image, f, v), offset.limits.holds(f, v)});
  sortPicks(offset.picks);
  keepEdit(offset, {PickEdit::Kind::placed, f, v, {}});
  return std::size_t(std::find_if(offset.picks.begin(), offset.picks.end(),
                                  [f](const Pick& p) { return p.frequency == f; }) -
                     offset.picks.begin());
}

std::optional<std::size_t> movePick(OffsetResult& offset, std::size_t index, double frequency,
                                    double velocity) {
  if (index >= offset.picks.size()) return std::nullopt;
  deletePick(offset, index);
  return addPick(offset, frequency, velocity);
}

void deletePick(OffsetResult& offset, std::size_t index) {
  if (index < offset.picks.size()) removeAt(offset, offset.picks[index].frequency);
}

void repickInBand(OffsetResult& offset, const PickBand& band, const PickingRules& rules) {
  PickingRules inside = rules;
  inside.lowestFrequency = std::min(band.frequencyA, band.frequencyB);
  inside.highestFrequency = std::max(band.frequencyA, band.frequencyB);
  inside.lowestVelocity = std::min(band.velocityA, band.velocityB);
  inside.highestVelocity = std::max(band.velocityA, band.velocityB);
  inside.seed.reset();
  const std::vector<Pick> found = followRidge(offset.image, inside, offset.limits);
  std::erase_if(offset.picks, [&](const Pick& p) { return withinBand(p.frequency, band); });
  offset.picks.insert(offset.picks.end(), found.begin(), found.end());
  sortPicks(offset.picks);
  keepEdit(offset, {PickEdit::Kind::band, 0.0, 0.0, band});
}

void repickOffset(OffsetResult& offset, const PickingRules& rules) {
  offset.picks = followRidge(offset.image, rules, offset.limits);
  offset.edits.clear();
}

EditsCarried replayEdits(OffsetResult& offset, std::span<const PickEdit> edits,
                         const PickingRules& rules) {
  EditsCarried carried;
  const DispersionImage& image = offset.image;
  for (const PickEdit& edit : edits) {
    if (edit.kind == PickEdit::Kind::band) {
      repickInBand(offset, edit.band, rules);
      ++carried.kept;
      continue;
    }
    const std::optional<std::size_t> row = rowOf(image, edit.frequency);
    const bool usable =
        row &&
        (edit.kind == PickEdit::Kind::removed ||
         (edit.velocity >= image.grid.velocity.first && edit.velocity <= highestVelocity(image)));
    if (!usable) {
      ++carried.dropped;
      continue;
    }
    const double f = image.grid.frequency.at(*row);
    if (edit.kind == PickEdit::Kind::placed) {
      addPick(offset, f, edit.velocity);
    } else {
      removeAt(offset, f);
    }
    ++carried.kept;
  }
  return carried;
}

EditsCarried repickKeepingEdits(OffsetResult& offset, const PickingRules& rules) {
  const std::vector<PickEdit> edits = std::move(offset.edits);
  repickOffset(offset, rules);
  return replayEdits(offset, edits, rules);
}

EditsCarried carryEdits(const SurveyResult& before, SurveyResult& after,
                        const PickingRules& rules) {
  EditsCarried carried;
  std::vector<bool> matched(before.offsets.size(), false);
  for (OffsetResult& offset : after.offsets) {
    for (std::size_t n = 0; n < before.offsets.size(); ++n) {
      const SourceGroup& old = before.offsets[n].group;
      if (matched[n] || old.sourcePosition != offset.group.sourcePosition ||
          old.records != offset.group.records) {
        continue;
      }
      matched[n] = true;
      carried += replayEdits(offset, before.offsets[n].edits, rules);
      break;
    }
  }
  for (std::size_t n = 0; n < before.offsets.size(); ++n) {
    if (!matched[n]) carried.dropped += before.offsets[n].edits.size();
  }
  return carried;
}

std::size_t editCount(const SurveyResult& survey) {
  std::size_t count = 0;
  for (const OffsetResult& offset : survey.offsets) count += offset.edits.size();
  return count;
}

}  // namespace dispfit
