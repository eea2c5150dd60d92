// SPDX-License-Identifier: GPL-3.0-or-later
// Command line of dispfit-invert --global: the search space, the budget,
// seed and threads, the acceptance rule and the CSV export.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "dispersion/observed_curve.h"
#include "exchange_options.h"
#include "search/global_search.h"
#include "search/search_space.h"

namespace dispfit {

struct GlobalCommand {
  enum class Action { Run, Help, Error };
  Action action = Action::Run;
  std::string curvePath;
  // The space from the options; with rangesPath its layers come from the
  // file, the water table and `increasing` from the options.
  SearchSpace space;
  std::optional<std::string> rangesPath;  // --params FILE
  SearchSettings settings;
  AcceptanceRule rule;
  // Which mode a model's curve is taken from: --lowest-root,
  // --observed-fraction F, --observed-modes N.
  swcore::ForwardRuleSettings forward;
  std::optional<std::string> csvPrefix;  // --csv PREFIX
  ExchangeOptions exchange;              // --columns and the other programs' files
  std::string error;                     // for Action::Error
};

// Whether the arguments ask for the global search (name --global).
bool asksForGlobalSearch(std::span<const std::string_view> arguments);

// Parses the arguments that follow the program name, --global among them.
// Everything the options alone decide is checked here, before any file is
// read: a space given by options must pass searchSpaceFault.
GlobalCommand parseGlobalOptions(std::span<const std::string_view> arguments);

// The models' budget when none is given.
inline constexpr std::int64_t kDefaultSearchModels = 40000;

// What --help adds for the global search.
std::string globalUsage();

}  // namespace dispfit
