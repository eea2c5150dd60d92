// SPDX-License-Identifier: GPL-3.0-or-later
// Command line of dispfit-masw: the record files, the image's frequencies
// and velocities, the transform, the window or mute, the geometry's
// overrides, the picking and the statistics, and the outputs.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "shots/masw_survey.h"
#include "shots/record_geometry.h"

namespace dispfit {

struct MaswCommand {
  enum class Action { Run, Help, Error };
  Action action = Action::Run;
  std::vector<std::string> recordPaths;
  GeometryOverrides geometry;
  SurveyRequest request;
  unsigned threads = 0;                     // 0: one per core
  std::optional<std::string> csvPrefix;     // --csv PREFIX
  std::optional<std::string> imagesPrefix;  // --images PREFIX
  std::string error;                        // for Action::Error
};

// The defaults of a run without options: 5 to 100 Hz by 0.5 Hz, 50 to
// 1000 m/s by 1 m/s, the phase shift, statistics by frequency over at least
// three offsets.
MaswCommand defaultMaswCommand();

// Parses the arguments that follow the program name. Everything the options
// decide alone is checked here, before any record is read.
MaswCommand parseMaswOptions(std::span<const std::string_view> arguments);

// What --help prints.
std::string maswUsage();

}  // namespace dispfit
