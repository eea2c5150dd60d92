// SPDX-License-Identifier: GPL-3.0-or-later
// Command line of swcore-batch: the run settings the batch run otherwise
// fixes, and help.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "batch/batch_run.h"

namespace swcore {

struct BatchCommand {
  enum class Action { Run, Help, Error };
  Action action = Action::Run;
  BatchSettings settings;  // built-in values unless an option changed them
  std::string error;       // for Action::Error
};

// Parses the arguments that follow the program name.
BatchCommand parseBatchOptions(std::span<const std::string_view> arguments);

// What --help prints: the files, the options and their defaults.
std::string batchUsage();

}  // namespace swcore
