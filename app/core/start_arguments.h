// SPDX-License-Identifier: GPL-3.0-or-later
// The command line of the window program:
// DispFit [--model FILE] [--curve FILE] [--language en|zh].
#pragma once

#include <optional>
#include <span>
#include <string>

#include "core/window_language.h"

namespace dispfit {

// The files to open at start-up, and the language of this run.
struct StartFiles {
  std::optional<std::string> model;  // a model file for the table
  std::optional<std::string> curve;  // a measured curve
  // The language for this run only; none: the one last chosen in the window.
  std::optional<WindowLanguage> language;
};

struct StartArguments {
  std::optional<StartFiles> files;  // set when the arguments are usable
  std::string error;                // otherwise what is wrong with them
};

// Reads the arguments after the program's name (Qt's own options already
// taken out). Each option takes its value as the next argument or after '='
// ("--curve=site.csv"); an option given twice, one without its value, a
// language other than en or zh, or any other argument is refused.
StartArguments readStartArguments(std::span<const std::string> arguments);

// The usage line shown with a refusal.
inline constexpr const char* kStartUsage =
    "usage: DispFit [--model FILE] [--curve FILE] [--language en|zh]";

}  // namespace dispfit
