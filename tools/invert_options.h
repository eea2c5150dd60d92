// SPDX-License-Identifier: GPL-3.0-or-later
// Command line of dispfit-invert: the files, the inversion's bounds and
// iteration limit, the CSV export and the suggested starting model.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "core/vp_rule.h"
#include "exchange_options.h"
#include "inversion/window_inversion.h"

namespace dispfit {

struct InvertCommand {
  enum class Action { Run, Help, Error };
  Action action = Action::Run;
  std::string modelPath;  // empty when the start is suggested
  std::string curvePath;
  std::optional<int> suggestedLayers;    // --suggest N: 1 .. kWindowLayerLimit layers
  InversionLimits limits;                // the window's settings unless an option changed them
  bool vsBoundsGiven = false;            // --vs-bounds was given
  bool thicknessBoundsGiven = false;     // --h-bounds was given
  std::optional<std::string> csvPrefix;  // --csv PREFIX
  ExchangeOptions exchange;              // --columns and the other programs' files
  // --vp V, --poisson NU, --water-table Z: the inversion runs through the
  // curve core with this rule; with none of them, through FORWARD (3 Vs).
  VpRule vpRule;
  std::string error;  // for Action::Error
};

// Parses the arguments that follow the program name.
InvertCommand parseInvertOptions(std::span<const std::string_view> arguments);

// What --help prints: the files, the options and their defaults, the report
// and the exit status.
std::string invertUsage();

}  // namespace dispfit
