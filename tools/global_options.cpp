// SPDX-License-Identifier: GPL-3.0-or-later
#include "global_options.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <thread>
#include <vector>

#include "argument_stream.h"

namespace dispfit {

namespace {

// The most models a search may be given: a day's work on two cores, and
// 50 MB of ensemble for a 20-layer space.
constexpr std::int64_t kMostModels = 100000000;
// More threads than this is a typing error on any machine the program
// meets.
constexpr std::int64_t kMostThreads = 1024;
constexpr double kDefaultDensity = 1.9;  // g/cm3, a moist soil

// Options of the local inversion only. (--vp, --poisson and --water-table
// belong to both, with a range of Poisson's ratio for the search.)
constexpr std::string_view kLocalOptions[] = {"--vs-bounds", "--h-bounds", "--iterations",
                                              "--suggest"};
// Options of one method only.
constexpr std::string_view kBestFitOptions[] = {"--models", "--accept", "--accept-factor"};
constexpr std::string_view kPosteriorOptions[] = {"--samples", "--burn-in", "--chains",
                                                  "--start-models"};
// The most chains at temperature 1: far beyond what any machine runs at
// once.
constexpr std::int64_t kMostChains = 1024;
// Options that the ranges file replaces.
constexpr std::string_view kPerLayerOptions[] = {"--layers",  "--vs-range", "--h-range",
                                                 "--density", "--vp",       "--poisson"};

// LO HI: LO not above HI; positive unless `zeroAllowed`.
bool range(ArgumentStream& in, std::string_view option, bool zeroAllowed, Range& out,
           std::string& error) {
  Range r;
  const auto read = [&](double& value) {
    return zeroAllowed ? in.real(option, value, error) : in.positive(option, value, error);
  };
  if (!read(r.low) || !read(r.high)) return false;
  if (zeroAllowed && r.low < 0.0) {
    error = std::string(option) + ": LO must not be negative";
    return false;
  }
  if (r.low > r.high) {
    error = std::string(option) + ": LO lies above HI";
    return false;
  }
  out = r;
  return true;
}

// What the options give for every layer, before the layers exist.
struct LayerOptions {
  std::optional<std::int64_t> layers;
  std::optional<std::int64_t> fewestLayers;  // --layers A-B: A
  Range vs{50.0, 1000.0};                    // m/s, the local inversion's default bounds
  Range thickness{0.1, 5.0};
  double density = kDefaultDensity;
  std::optional<double> vp;
  std::optional<Range> poisson;
  std::vector<std::string_view> given;  // per-layer options named
  std::vector<std::string_view> named;  // every option named
  std::optional<std::int64_t> burnIn;
};

// --layers N, or A-B (checked against the method once every option is read).
bool layerCount(ArgumentStream& in, std::string_view option, LayerOptions& layers,
                std::string& error) {
  std::string_view text;
  if (!in.value(option, text, error)) return false;
  const std::size_t dash = text.find('-', 1);
  const auto whole = [&](std::string_view part, std::int64_t& value) {
    const auto result = std::from_chars(part.data(), part.data() + part.size(), value);
    return result.ec == std::errc{} && result.ptr == part.data() + part.size();
  };
  const auto most = static_cast<std::int64_t>(kMostSearchLayers);
  if (dash != std::string_view::npos) {
    std::int64_t a = 0;
    std::int64_t b = 0;
    if (!whole(text.substr(0, dash), a) || !whole(text.substr(dash + 1), b) || a < 1 || b < a ||
        b > most) {
      error = std::string(option) + ": \"" + std::string(text) +
              "\" is not a layer count range A-B with 1 <= A <= B <= " + std::to_string(most);
      return false;
    }
    layers.fewestLayers = a;
    layers.layers = b;
    return true;
  }
  std::int64_t n = 0;
  if (!whole(text, n) || n < 1 || n > most) {
    error = std::string(option) + ": \"" + std::string(text) +
            "\" is not a whole number from 1 to " + std::to_string(most);
    return false;
  }
  layers.layers = n;
  return true;
}

bool option(ArgumentStream& in, std::string_view name, GlobalCommand& command,
            LayerOptions& layers) {
  std::string& error = command.error;
  if (std::find(std::begin(kLocalOptions), std::end(kLocalOptions), name) !=
      std::end(kLocalOptions)) {
    error = std::string(name) + " belongs to the local inversion and cannot be mixed with --global";
    return false;
  }
  if (std::find(std::begin(kPerLayerOptions), std::end(kPerLayerOptions), name) !=
      std::end(kPerLayerOptions)) {
    layers.given.push_back(name);
  }
  layers.named.push_back(name);
  SearchSettings& settings = command.settings;
  if (name == "--global") return in.flag(name, error);
  if (name == "--bayes") {
    command.method = GlobalCommand::Method::Posterior;
    return in.flag(name, error);
  }
  if (name == "--samples") return in.whole(name, 1, kMostModels, command.sampler.samples, error);
  if (name == "--burn-in") {
    std::int64_t burnIn = 0;
    if (!in.whole(name, 0, kMostModels, burnIn, error)) return false;
    layers.burnIn = burnIn;
    return true;
  }
  if (name == "--chains") {
    std::int64_t chains = 0;
    if (!in.whole(name, 1, kMostChains, chains, error)) return false;
    command.sampler.chains = static_cast<int>(chains);
    return true;
  }
  if (name == "--start-models") return in.whole(name, 1, kMostModels, command.startModels, error);
  if (name == "--increasing") {
    command.space.increasing = true;
    return in.flag(name, error);
  }
  if (name == "--layers") return layerCount(in, name, layers, error);
  if (name == "--vs-range") return range(in, name, false, layers.vs, error);
  if (name == "--h-range") return range(in, name, false, layers.thickness, error);
  if (name == "--density") return in.positive(name, layers.density, error);
  if (name == "--vp") {
    double vp = 0.0;
    if (!in.positive(name, vp, error)) return false;
    layers.vp = vp;
    return true;
  }
  if (name == "--poisson") {
    Range nu;
    if (!range(in, name, true, nu, error)) return false;
    layers.poisson = nu;
    return true;
  }
  if (name == "--water-table") {
    double z = 0.0;
    if (!in.positive(name, z, error)) return false;
    command.space.waterTable = z;
    return true;
  }
  if (name == "--models") return in.whole(name, 1, kMostModels, settings.models, error);
  if (name == "--seed") {
    std::int64_t seed = 0;
    if (!in.whole(name, 0, INT64_MAX, seed, error)) return false;
    settings.seed = static_cast<std::uint64_t>(seed);
    return true;
  }
  if (name == "--threads") {
    std::int64_t threads = 0;
    if (!in.whole(name, 1, kMostThreads, threads, error)) return false;
    settings.threads = static_cast<int>(threads);
    return true;
  }
  if (name == "--accept") return in.positive(name, command.rule.threshold, error);
  if (name == "--accept-factor") {
    if (!in.real(name, command.rule.factor, error)) return false;
    if (!(command.rule.factor >= 1.0)) {
      error = "--accept-factor must be at least 1 (the best model is always accepted)";
      return false;
    }
    return true;
  }
  if (name == "--lowest-root") {
    if (!in.flag(name, error)) return false;
    command.forward.rule = swcore::ForwardRule::lowestRoot;
    return true;
  }
  if (name == "--observed-fraction") {
    if (!in.positive(name, command.forward.fraction, error)) return false;
    if (command.forward.fraction > 1.0) {
      error = "--observed-fraction must lie above 0 and at most 1";
      return false;
    }
    return true;
  }
  if (name == "--observed-modes") {
    std::int64_t modes = 0;
    if (!in.whole(name, 2, swcore::kMaxModes, modes, error)) return false;
    command.forward.modes = static_cast<int>(modes);
    return true;
  }
  if (name == "--csv" || name == "--params") {
    std::string text;
    if (!in.text(name, text, error)) return false;
    (name == "--csv" ? command.csvPrefix : command.rangesPath) = std::move(text);
    return true;
  }
  bool handled = false;
  if (!exchangeOption(in, name, command.exchange, handled, error)) return false;
  if (handled) return true;
  error = unknownOption(name);
  return false;
}

GlobalCommand failed(GlobalCommand command) {
  command.action = GlobalCommand::Action::Error;
  return command;
}

// The options of the other method, a range of layer counts without
// --bayes, the burn-in's default; false with the error.
bool methodOptions(const LayerOptions& options, GlobalCommand& command) {
  const bool posterior = command.method == GlobalCommand::Method::Posterior;
  for (const std::string_view name : options.named) {
    const std::span<const std::string_view> other =
        posterior ? std::span<const std::string_view>(kBestFitOptions)
                  : std::span<const std::string_view>(kPosteriorOptions);
    if (std::find(other.begin(), other.end(), name) != other.end()) {
      command.error = std::string(name) + (posterior ? " belongs to --global, not to --bayes"
                                                     : " belongs to --bayes, not to --global");
      return false;
    }
  }
  if (!posterior && options.fewestLayers) {
    command.error = "--layers A-B samples the layer count and needs --bayes";
    return false;
  }
  command.sampler.burnIn = options.burnIn.value_or(command.sampler.samples / 2);
  command.sampler.seed = command.settings.seed;
  command.sampler.threads = command.settings.threads;
  if (options.layers) {
    command.layerCounts = {static_cast<int>(options.fewestLayers.value_or(*options.layers)),
                           static_cast<int>(*options.layers)};
  }
  return true;
}

// The space's layers from the options, or the error of their combination.
bool layersFromOptions(const LayerOptions& options, GlobalCommand& command) {
  if (command.rangesPath) {
    if (!options.given.empty()) {
      command.error = std::string(options.given.front()) +
                      " cannot be given with --params: the ranges file gives every layer's";
      return false;
    }
    return true;
  }
  if (!options.layers) {
    command.error = command.method == GlobalCommand::Method::Posterior
                        ? "--bayes needs --layers N, --layers A-B or --params FILE (see --help)"
                        : "--global needs --layers N or --params FILE (see --help)";
    return false;
  }
  if (options.vp && options.poisson) {
    command.error = "--vp and --poisson exclude each other";
    return false;
  }
  LayerRanges layer{options.vs, options.thickness, options.density, options.vp, options.poisson};
  command.space.layers.assign(static_cast<std::size_t>(*options.layers), layer);
  if (const std::string fault = searchSpaceFault(command.space); !fault.empty()) {
    command.error = fault;
    return false;
  }
  return true;
}

}  // namespace

bool asksForGlobalSearch(std::span<const std::string_view> arguments) {
  return std::find(arguments.begin(), arguments.end(), "--global") != arguments.end() ||
         std::find(arguments.begin(), arguments.end(), "--bayes") != arguments.end();
}

GlobalCommand parseGlobalOptions(std::span<const std::string_view> arguments) {
  GlobalCommand command;
  command.settings.models = kDefaultSearchModels;
  command.settings.threads = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  command.sampler.samples = kDefaultPosteriorSamples;
  command.startModels = kDefaultStartModels;
  LayerOptions layers;
  std::vector<std::string_view> files;
  ArgumentStream in(arguments);
  const char* observedOption = nullptr;
  while (!in.empty()) {
    const std::string_view argument = in.next();
    if (argument == "--observed-fraction" || argument == "--observed-modes") {
      observedOption =
          argument == "--observed-fraction" ? "--observed-fraction" : "--observed-modes";
    }
    if (ArgumentStream::isHelp(argument)) {
      command.action = GlobalCommand::Action::Help;
      return command;
    }
    if (ArgumentStream::isOption(argument)) {
      if (!option(in, argument, command, layers)) return failed(std::move(command));
      continue;
    }
    files.push_back(argument);
  }
  if (command.forward.rule == swcore::ForwardRule::lowestRoot && (observedOption != nullptr)) {
    command.error = std::string(observedOption) + " sets the surface-observed rule, which " +
                    "--lowest-root replaces";
    return failed(std::move(command));
  }
  if (std::find(layers.named.begin(), layers.named.end(), "--global") != layers.named.end() &&
      command.method == GlobalCommand::Method::Posterior) {
    command.error = "--global and --bayes exclude each other";
    return failed(std::move(command));
  }
  if (!methodOptions(layers, command)) return failed(std::move(command));
  if (!layersFromOptions(layers, command)) return failed(std::move(command));
  if (files.size() != 1) {
    command.error =
        std::string(command.method == GlobalCommand::Method::Posterior ? "--bayes" : "--global") +
        " expects one file, CURVE (see --help)";
    return failed(std::move(command));
  }
  command.curvePath = std::string(files.front());
  return command;
}

std::string globalUsage() {
  return "\n"
         "Global search:  dispfit-invert --global [OPTIONS] CURVE\n"
         "\n"
         "Searches the models the ranges allow for every one whose curve fits CURVE,\n"
         "with a bounded neighbourhood algorithm (Sambridge 1999) on every core, and\n"
         "reports the best model, the accepted models' count, and the spread of VsZ\n"
         "and Vs30 over the models kept near the best fit with the site classes. That\n"
         "spread is not an uncertainty: for credible intervals and class\n"
         "probabilities use --bayes.\n"
         "  --layers N           layers, the half-space included (1 to 20)\n"
         "  --vs-range LO HI     every layer's Vs range, m/s (default 50 1000)\n"
         "  --h-range LO HI      every layer's thickness range, m (default 0.1 5)\n"
         "  --density D          every layer's density, g/cm3 (default 1.9)\n"
         "  --vp V               a fixed Vp, m/s, at least sqrt(2) times Vs's top\n"
         "  --poisson LO HI      Poisson's ratio's range, 0 <= LO <= HI < 0.5; Vp =\n"
         "                       Vs sqrt((2 - 2 nu) / (1 - 2 nu)); with neither, Vp = 3 Vs\n"
         "  --water-table Z      Vp at least 1500 m/s for the layers whose top lies at\n"
         "                       or below Z m\n"
         "  --increasing         Vs does not decrease with depth\n"
         "  --params FILE        per-layer ranges from a table instead of --layers,\n"
         "                       --vs-range, --h-range, --density, --vp, --poisson:\n"
         "                       columns vs min, vs max (m/s), h min, h max (m),\n"
         "                       density (g/cm3), optionally vp (m/s) or poisson min,\n"
         "                       poisson max; one row per layer, the half-space last\n"
         "  --models N           models to draw (default " +
         std::to_string(kDefaultSearchModels) +
         ")\n"
         "  --seed S             the random seed (default 1); the same seed gives the\n"
         "                       same models for any thread count\n"
         "  --threads T          threads (default: one per core)\n"
         "  --accept VALUE       accept a normalised misfit up to VALUE, or up to\n"
         "                       F times the best where that is more (default 1)\n"
         "  --accept-factor F    accept a misfit up to F times the best (default\n"
         "                       1.1), so that data noised at their sigma always\n"
         "                       keep some models\n"
         "  --csv PREFIX         also write PREFIX_best.csv (the best model's table),\n"
         "                       PREFIX_models.csv (every model, its misfit, accepted)\n"
         "                       and PREFIX_profile.csv (Vs percentiles every 0.1 m)\n"
         "  --lowest-root        take each model's curve from its lowest root, the\n"
         "                       fundamental mode, even where a surface array would not\n"
         "                       record it\n"
         "  --observed-fraction F\n"
         "                       the share of the largest vertical surface response a\n"
         "                       mode must reach to be taken (default 0.1)\n"
         "  --observed-modes N   the modes compared, 0 to N-1 (default every mode\n"
         "                       below the half-space S velocity)\n"
         "A model's velocity at a frequency is by default its surface-observed\n"
         "fundamental: the lowest Rayleigh mode whose vertical surface response to a\n"
         "vertical force at the surface is at least F of the largest among modes 0 to\n"
         "N-1. Where the lowest root is a mode trapped in a buried soft layer, which\n"
         "barely moves the surface, this is the mode a surface array records instead.\n"
         "The posterior (--bayes) takes the same rule, with intervals measured under it\n"
         "on synthetic sites of 3 and of 2 to 6 layers (see the README).\n"
         "The misfit is the normalised misfit sqrt(sum ((v - c) / sigma)^2 / m) when\n"
         "the curve gives a band (sigma its standard deviation or half the width of\n"
         "its low-high band), else the misfit (m/s) sqrt(sum (v - c)^2 / m). A model\n"
         "without a root at some frequency is rejected. On a terminal a progress\n"
         "line goes to the standard error stream. The local inversion's options\n"
         "(--vs-bounds, --h-bounds, --iterations, --suggest) do not apply.\n";
}

std::string posteriorUsage() {
  return "\n"
         "Posterior:  dispfit-invert --bayes [OPTIONS] CURVE\n"
         "\n"
         "Samples the posterior of the layered model given CURVE: a Gaussian\n"
         "likelihood with each point's sigma (its sigma column, or half its low-high\n"
         "band; without either a relative noise scale is sampled with the model),\n"
         "uniform priors on each layer's Vs and thickness within the ranges (and on\n"
         "Poisson's ratio where ranged), truncated by --increasing; with --layers A-B\n"
         "the layer count is uniform over A..B and sampled by reversible jump.\n"
         "Parallel tempering (Sambridge 2014) over chains started at the best models\n"
         "of a short best-fit search. Reports the median and 5/10/90/95 % credible\n"
         "Vs at every depth, VsZ and Vs30, the probability of each site class\n"
         "(Eurocode 8, NEHRP (ASCE 7-16), ASCE 7-22) and the convergence figures.\n"
         "The options of --global for the ranges, and:\n"
         "  --layers N | A-B     layers, the half-space included; A-B samples the count\n"
         "  --samples N          posterior samples kept, all chains together (default " +
         std::to_string(kDefaultPosteriorSamples) +
         ")\n"
         "  --burn-in N          samples discarded first, all chains together\n"
         "                       (default half of --samples)\n"
         "  --chains C           chains at temperature 1 (default " +
         std::to_string(SamplerSettings{}.chains) + "), beside " +
         std::to_string(SamplerSettings{}.heatedChains) +
         " heated ones\n"
         "  --start-models N     models of the best-fit searches that find the chains'\n"
         "                       starts, per layer count, shared out over up to " +
         std::to_string(kDefaultStartSearches) + " searches of at least " +
         std::to_string(kLeastModelsPerSearch) + "\n                       (default " +
         std::to_string(kDefaultStartModels) +
         ")\n"
         "  --seed S, --threads T, --csv PREFIX: as for --global; the same seed gives\n"
         "                       the same samples for any thread count. --csv writes\n"
         "                       PREFIX_profile.csv, _summary.csv, _classes.csv,\n"
         "                       _samples.csv, _predictive.csv (and _interfaces.csv\n"
         "                       with A-B)\n"
         "An R-hat above 1.1 prints \"not converged: raise --samples\" on the standard\n"
         "error stream and marks the intervals, which are then not to be trusted. The\n"
         "intervals are conditional on the prior and the noise model; their measured\n"
         "coverage (README) falls short for shallow Vs, and for Vs30 at five layers.\n";
}

}  // namespace dispfit
