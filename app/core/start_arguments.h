// SPDX-License-Identifier: GPL-3.0-or-later
// The command line of the window program:
// DispFit [--model FILE] [--curve FILE] [--language en|zh].
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

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

// What the command line asks for before any window opens: the help or the
// version, answered on standard output without a display, or the window.
enum class StartRequest { openWindow, showHelp, showVersion };

// The help wins over the version when both are asked for; any other
// argument is left to readStartArguments.
StartRequest startRequest(std::span<const std::string_view> arguments);

// The text of --help.
inline constexpr const char* kStartHelp =
    "usage: DispFit [--model FILE] [--curve FILE] [--language en|zh]\n"
    "\n"
    "Opens the window: a layered model's Rayleigh-wave dispersion curve, its\n"
    "inversion, a measured field curve, the Vs profile, Vs30 and the site class.\n"
    "\n"
    "  --model FILE   open a model into the table (the SHR.TXT layout or a model table)\n"
    "  --curve FILE   open a measured dispersion curve (FIT.TXT layout or a curve table)\n"
    "  --language en|zh  the window in English or Chinese for this run; without it the\n"
    "                 language last chosen in the window's 语言 / Language menu, at first Chinese\n"
    "  -h, --help     this text\n"
    "  --version      the program's version\n"
    "\n"
    "Qt's own options (-platform, -style, ...) are taken as well. DispFit needs a\n"
    "display: without one it says so and exits with status 1.\n";

}  // namespace dispfit
