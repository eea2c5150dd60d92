// SPDX-License-Identifier: GPL-3.0-or-later
// The command line of the window program: DispFit [--model FILE] [--curve FILE].
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace dispfit {

// The files to open at start-up.
struct StartFiles {
  std::optional<std::string> model;  // a model file for the table
  std::optional<std::string> curve;  // a measured curve
};

struct StartArguments {
  std::optional<StartFiles> files;  // set when the arguments are usable
  std::string error;                // otherwise what is wrong with them
};

// Reads the arguments after the program's name (Qt's own options already
// taken out). Each option takes its file as the next argument or after '='
// ("--curve=site.csv"); an option given twice, one without its file, or
// any other argument is refused.
StartArguments readStartArguments(std::span<const std::string> arguments);

// The usage line shown with a refusal.
inline constexpr const char* kStartUsage = "usage: DispFit [--model FILE] [--curve FILE]";

// What the command line asks for before any window opens: the help or the
// version, answered on standard output without a display, or the window.
enum class StartRequest { openWindow, showHelp, showVersion };

// The help wins over the version when both are asked for; any other
// argument is left to readStartArguments.
StartRequest startRequest(std::span<const std::string_view> arguments);

// The text of --help.
inline constexpr const char* kStartHelp =
    "usage: DispFit [--model FILE] [--curve FILE]\n"
    "\n"
    "Opens the window: a layered model's Rayleigh-wave dispersion curve, its\n"
    "inversion, a measured field curve, the Vs profile, Vs30 and the site class.\n"
    "\n"
    "  --model FILE   open a model into the table (the SHR.TXT layout or a model table)\n"
    "  --curve FILE   open a measured dispersion curve (FIT.TXT layout or a curve table)\n"
    "  -h, --help     this text\n"
    "  --version      the program's version\n"
    "\n"
    "Qt's own options (-platform, -style, ...) are taken as well. DispFit needs a\n"
    "display: without one it says so and exits with status 1.\n";

}  // namespace dispfit
