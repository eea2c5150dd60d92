// SPDX-License-Identifier: GPL-3.0-or-later
// Command line of dispfit-invert --global and --bayes: the search space (the
// prior's ranges), the best-fit search's budget and acceptance rule or the
// posterior sampler's samples, burn-in and chains, the seed, the threads and
// the CSV export.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "dispersion/observed_curve.h"
#include "exchange_options.h"
#include "sampling/model_prior.h"
#include "sampling/parallel_tempering.h"
#include "sampling/search_starts.h"
#include "search/global_search.h"
#include "search/search_space.h"

namespace dispfit {

struct GlobalCommand {
  enum class Action { Run, Help, Error };
  // The best-fit search (--global) or the posterior (--bayes).
  enum class Method { BestFit, Posterior };
  Action action = Action::Run;
  Method method = Method::BestFit;
  std::string curvePath;
  // The space from the options; with rangesPath its layers come from the
  // file, the water table and `increasing` from the options.
  SearchSpace space;
  std::optional<std::string> rangesPath;  // --params FILE
  SearchSettings settings;                // the seed and threads serve --bayes too
  AcceptanceRule rule;
  // --bayes: the layer counts (--layers N or A-B; the space then holds B
  // layers), the sampler and the best-fit search that finds its starts.
  LayerCountRange layerCounts;
  SamplerSettings sampler;
  std::int64_t startModels = 0;
  // Which mode a model's curve is taken from: --lowest-root,
  // --observed-fraction F, --observed-modes N.
  swcore::ForwardRuleSettings forward;
  std::optional<std::string> csvPrefix;  // --csv PREFIX
  ExchangeOptions exchange;              // --columns and the other programs' files
  std::string error;                     // for Action::Error
};

// Whether the arguments ask for the global search or the posterior (name
// --global or --bayes).
bool asksForGlobalSearch(std::span<const std::string_view> arguments);

// Parses the arguments that follow the program name, --global or --bayes
// among them.
// Everything the options alone decide is checked here, before any file is
// read: a space given by options must pass searchSpaceFault.
GlobalCommand parseGlobalOptions(std::span<const std::string_view> arguments);

// The models' budget when none is given.
inline constexpr std::int64_t kDefaultSearchModels = 40000;

// What --help adds for the global search and the posterior.
std::string globalUsage();
std::string posteriorUsage();

}  // namespace dispfit
