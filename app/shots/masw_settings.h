// SPDX-License-Identifier: GPL-3.0-or-later
// The settings of a MASW analysis: the geometry's overrides, the image's
// grid, transform and window, the picking's rules and the statistics.
// dispfit-masw takes them from its command line, the shot-records window
// from its settings dialog; both ask maswSettingFaults whether they can be
// used, and each words the faults for its user (the options' names, the
// dialog's fields).
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "shots/masw_survey.h"
#include "shots/record_geometry.h"

namespace dispfit {

struct MaswSettings {
  GeometryOverrides geometry;
  SurveyRequest request;

  bool operator==(const MaswSettings&) const = default;
};

// The most steps an image axis may have: a thousandth of a hertz over
// 100 Hz or a hundredth of a m/s over 1000 m/s, far finer than any record
// resolves, and few enough that a wrong step is refused before memory is
// taken.
inline constexpr double kMostImageSteps = 100000.0;

// The most offsets a point may be asked to be seen at, and the most bins a
// decade of wavelength: far beyond a survey's offsets or a record's
// resolution.
inline constexpr std::size_t kMostSettingCount = 1000;

// What a run without settings uses: 5 to 100 Hz by 0.5 Hz, 50 to 1000 m/s by
// 1 m/s, the phase shift over the whole record, the ridge picked with the
// rules' defaults (ridge_picking.h), statistics by frequency over at least
// three offsets; no geometry overridden.
MaswSettings defaultMaswSettings();

// The settings with what follows from them: sigma's floor at half the
// velocity step, the resolution a pick has (offset_statistics.h).
MaswSettings completedSettings(MaswSettings settings);

enum class MaswSettingFault {
  lowestFrequency,        // not above 0
  frequencyStep,          // not above 0
  frequencyOrder,         // the lowest not below the highest
  frequencyCells,         // more than kMostImageSteps steps
  lowestVelocity,         // not above 0
  velocityStep,           // not above 0
  velocityOrder,          // the lowest not below the highest
  velocityCells,          // more than kMostImageSteps steps
  aboveNyquist,           // the highest frequency at or above the records' Nyquist frequency
  windowOrder,            // the window's start not before its end
  muteVelocity,           // a mute's velocity not above 0
  muteOrder,              // the mute's front velocity not above its back one
  muteWithoutWindow,      // a mute's velocity moves a window end that is not set
  receiverPlaces,         // the first receiver's position without the spacing, or the reverse
  receiverSpacing,        // a spacing of 0
  sampleInterval,         // not above 0
  receiverRange,          // not 1 <= A < B <= kMostRecordTraces
  leastOffsets,           // not 2 to kMostSettingCount
  binsPerDecade,          // not 1 to kMostSettingCount
  pickVelocityOrder,      // the picks' lowest velocity not below their highest
  pickVelocitiesOutside,  // the picks' velocities outside the image's
  seedOutside,            // the seed outside the image's frequencies or velocities
  largestChange,          // not above 0 and below 1
};

// Whether an image up to `highestFrequency` (Hz) can be made of a record
// sampled every `sampleInterval` s: below its Nyquist frequency.
bool belowNyquist(double highestFrequency, double sampleInterval);

// Every fault of the settings, in the order of the list above; none when
// they can be used. `recordedInterval` is the longest sample interval of the
// records they are for, as the files give it (s), when those are known; a
// sample interval of the settings' geometry replaces it.
std::vector<MaswSettingFault> maswSettingFaults(const MaswSettings& settings,
                                                std::optional<double> recordedInterval = {});

// What a change of settings asks to be done anew, the least first: nothing,
// the curve from the picks, the picks from the images, the images from the
// placed records, or the records' places and everything after.
enum class SettingsChange { none, statistics, picking, images, geometry };

SettingsChange settingsChange(const MaswSettings& before, const MaswSettings& after);

}  // namespace dispfit
