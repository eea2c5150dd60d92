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

#include "shots/masw_settings.h"

namespace dispfit {

struct MaswCommand {
  enum class Action { Run, Help, Error };
  Action action = Action::Run;
  std::vector<std::string> recordPaths;
  MaswSettings settings;                    // completed (completedSettings)
  unsigned threads = 0;                     // 0: one per core
  std::optional<std::string> csvPrefix;     // --csv PREFIX
  std::optional<std::string> imagesPrefix;  // --images PREFIX
  std::string error;                        // for Action::Error
};

// Parses the arguments that follow the program name. The options read
// their values as numbers here; whether the settings they make can be used
// is the settings' one rule (maswSettingFaults), checked before any record
// is read, its first fault worded by maswFaultText.
MaswCommand parseMaswOptions(std::span<const std::string_view> arguments);

// A fault of the settings in the words of the options that make them.
std::string maswFaultText(MaswSettingFault fault);

// What --help prints.
std::string maswUsage();

}  // namespace dispfit
