// SPDX-License-Identifier: GPL-3.0-or-later
#include "shots/masw_settings.h"

#include "shots/shot_record.h"

namespace dispfit {
namespace {

using Fault = MaswSettingFault;

void checkAxis(const EvenSteps& axis, Fault lowest, Fault step, Fault order, Fault cells,
               std::vector<Fault>& faults) {
  if (!(axis.first > 0.0)) faults.push_back(lowest);
  if (!(axis.step > 0.0)) faults.push_back(step);
  if (!(axis.first < axis.last)) {
    faults.push_back(order);
  } else if (axis.step > 0.0 && (axis.last - axis.first) / axis.step > kMostImageSteps) {
    faults.push_back(cells);
  }
}

void checkWindow(const TraceWindow& window, std::vector<Fault>& faults) {
  if (window.start && window.end && !(*window.start < *window.end)) {
    faults.push_back(Fault::windowOrder);
  }
  const bool fastBad = window.fastVelocity && !(*window.fastVelocity > 0.0);
  const bool slowBad = window.slowVelocity && !(*window.slowVelocity > 0.0);
  if (fastBad || slowBad) {
    faults.push_back(Fault::muteVelocity);
  } else if (window.fastVelocity && window.slowVelocity &&
             !(*window.fastVelocity > *window.slowVelocity)) {
    faults.push_back(Fault::muteOrder);
  }
  if ((window.fastVelocity && !window.start) || (window.slowVelocity && !window.end)) {
    faults.push_back(Fault::muteWithoutWindow);
  }
}

void checkGeometry(const GeometryOverrides& geometry, std::vector<Fault>& faults) {
  if (geometry.firstReceiver.has_value() != geometry.spacing.has_value()) {
    faults.push_back(Fault::receiverPlaces);
  }
  if (geometry.spacing && *geometry.spacing == 0.0) faults.push_back(Fault::receiverSpacing);
  if (geometry.sampleInterval && !(*geometry.sampleInterval > 0.0)) {
    faults.push_back(Fault::sampleInterval);
  }
  if (geometry.receivers) {
    const auto [first, last] = *geometry.receivers;
    if (first < 1 || first >= last || last > kMostRecordTraces) {
      faults.push_back(Fault::receiverRange);
    }
  }
}

bool inside(double value, const EvenSteps& axis) {
  return value >= axis.first && value <= axis.at(axis.count() - 1);
}

void checkPicking(const PickingRules& rules, const ImageGrid& grid, bool gridUsable,
                  std::vector<Fault>& faults) {
  const double gridHighest = grid.velocity.at(grid.velocity.count() - 1);
  if (rules.lowestVelocity && rules.highestVelocity &&
      !(*rules.lowestVelocity < *rules.highestVelocity)) {
    faults.push_back(Fault::pickVelocityOrder);
  } else if (gridUsable) {
    // An end not given is the image's; what remains must overlap the image.
    const double lowest = rules.lowestVelocity.value_or(grid.velocity.first);
    const double highest = rules.highestVelocity.value_or(gridHighest);
    if (!(lowest < highest) || highest < grid.velocity.first || lowest > gridHighest) {
      faults.push_back(Fault::pickVelocitiesOutside);
    }
  }
  if (rules.seed && gridUsable &&
      (!inside(rules.seed->frequency, grid.frequency) ||
       !inside(rules.seed->velocity, grid.velocity))) {
    faults.push_back(Fault::seedOutside);
  }
  if (!(rules.largestChange > 0.0 && rules.largestChange < 1.0)) {
    faults.push_back(Fault::largestChange);
  }
}

}  // namespace

MaswSettings defaultMaswSettings() {
  MaswSettings settings;
  settings.request.image.grid.frequency = {5.0, 100.0, 0.5};
  settings.request.image.grid.velocity = {50.0, 1000.0, 1.0};
  settings.request.statistics.leastOffsets = 3;
  return completedSettings(settings);
}

MaswSettings completedSettings(MaswSettings settings) {
  settings.request.statistics.sigmaFloor = 0.5 * settings.request.image.grid.velocity.step;
  return settings;
}

bool belowNyquist(double highestFrequency, double sampleInterval) {
  return highestFrequency < 0.5 / sampleInterval;
}

std::vector<MaswSettingFault> maswSettingFaults(const MaswSettings& settings,
                                                std::optional<double> recordedInterval) {
  std::vector<Fault> faults;
  const ImageRequest& image = settings.request.image;
  checkAxis(image.grid.frequency, Fault::lowestFrequency, Fault::frequencyStep,
            Fault::frequencyOrder, Fault::frequencyCells, faults);
  checkAxis(image.grid.velocity, Fault::lowestVelocity, Fault::velocityStep, Fault::velocityOrder,
            Fault::velocityCells, faults);
  // The picking's checks against the grid mean something only on a grid
  // that can be made.
  const bool gridUsable = faults.empty();
  const std::optional<double> interval =
      settings.geometry.sampleInterval ? settings.geometry.sampleInterval : recordedInterval;
  if (interval && *interval > 0.0 && !belowNyquist(image.grid.frequency.last, *interval)) {
    faults.push_back(Fault::aboveNyquist);
  }
  checkWindow(image.window, faults);
  checkGeometry(settings.geometry, faults);
  const StatisticsRules& statistics = settings.request.statistics;
  if (statistics.leastOffsets < 2 || statistics.leastOffsets > kMostSettingCount) {
    faults.push_back(Fault::leastOffsets);
  }
  if (statistics.domain == StatisticsDomain::logWavelength &&
      (statistics.binsPerDecade < 1 || statistics.binsPerDecade > kMostSettingCount)) {
    faults.push_back(Fault::binsPerDecade);
  }
  checkPicking(settings.request.picking, image.grid, gridUsable, faults);
  return faults;
}

SettingsChange settingsChange(const MaswSettings& before, const MaswSettings& after) {
  if (!(before.geometry == after.geometry)) return SettingsChange::geometry;
  if (!(before.request.image == after.request.image)) return SettingsChange::images;
  if (!(before.request.picking == after.request.picking)) return SettingsChange::picking;
  if (!(before.request.statistics == after.request.statistics)) return SettingsChange::statistics;
  return SettingsChange::none;
}

}  // namespace dispfit
