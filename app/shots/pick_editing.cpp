// SPDX-License-Identifier: GPL-3.0-or-later
#include "shots/pick_editing.h"

#include <algorithm>
#include <cmath>

namespace dispfit {
namespace {

double nearestFrequency(const DispersionImage& image, double frequency) {
  const EvenSteps& f = image.grid.frequency;
  const double row =
      std::clamp(std::round((frequency - f.first) / f.step), 0.0, double(image.frequencyCount - 1));
  return f.at(std::size_t(row));
}

double powerAt(const DispersionImage& image, double frequency, double velocity) {
  const EvenSteps& f = image.grid.frequency;
  const EvenSteps& v = image.grid.velocity;
  const auto i = std::size_t(std::clamp(std::round((frequency - f.first) / f.step), 0.0,
                                        double(image.frequencyCount - 1)));
  const auto l = std::size_t(
      std::clamp(std::round((velocity - v.first) / v.step), 0.0, double(image.velocityCount - 1)));
  return image.at(i, l);
}

void sortPicks(std::vector<Pick>& picks) {
  std::sort(picks.begin(), picks.end(),
            [](const Pick& a, const Pick& b) { return a.frequency < b.frequency; });
}

}  // namespace

std::size_t addPick(OffsetResult& offset, double frequency, double velocity) {
  const DispersionImage& image = offset.image;
  const double f = nearestFrequency(image, frequency);
  const double v = std::clamp(velocity, image.grid.velocity.first,
                              image.grid.velocity.at(image.velocityCount - 1));
  std::erase_if(offset.picks, [f](const Pick& p) { return p.frequency == f; });
  offset.picks.push_back({f, v, powerAt(image, f, v), offset.limits.holds(f, v)});
  sortPicks(offset.picks);
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
  if (index < offset.picks.size()) offset.picks.erase(offset.picks.begin() + long(index));
}

void repickInBand(OffsetResult& offset, const PickBand& band, const PickingRules& rules) {
  PickingRules inside = rules;
  inside.lowestFrequency = std::min(band.frequencyA, band.frequencyB);
  inside.highestFrequency = std::max(band.frequencyA, band.frequencyB);
  inside.lowestVelocity = std::min(band.velocityA, band.velocityB);
  inside.highestVelocity = std::max(band.velocityA, band.velocityB);
  inside.seed.reset();
  const std::vector<Pick> found = followRidge(offset.image, inside, offset.limits);
  std::erase_if(offset.picks, [&](const Pick& p) {
    return p.frequency >= *inside.lowestFrequency - 1e-9 &&
           p.frequency <= *inside.highestFrequency + 1e-9;
  });
  offset.picks.insert(offset.picks.end(), found.begin(), found.end());
  sortPicks(offset.picks);
}

}  // namespace dispfit
