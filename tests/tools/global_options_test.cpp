// SPDX-License-Identifier: GPL-3.0-or-later
// dispfit-invert --global's command line: what it sets, and every refusal
// before any work starts.
#include "global_options.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

using dispfit::GlobalCommand;

GlobalCommand parsed(const std::string& line) {
  std::istringstream in(line);
  static std::vector<std::string> words;  // the views below point into it
  words.clear();
  for (std::string word; in >> word;) words.push_back(word);
  std::vector<std::string_view> arguments(words.begin(), words.end());
  return dispfit::parseGlobalOptions(arguments);
}

TEST(GlobalOptions, SetsTheSpaceAndTheRun) {
  const GlobalCommand c = parsed(
      "--global --layers 4 --vs-range 80 1000 --h-range 1 15 --poisson 0.25 0.45 --water-table 3 "
      "--density 2.1 --increasing --models 500 --seed 9 --threads 3 --accept 1.5 "
      "--accept-factor 1.2 --csv out curve.csv");
  ASSERT_EQ(c.action, GlobalCommand::Action::Run) << c.error;
  EXPECT_EQ(c.curvePath, "curve.csv");
  ASSERT_EQ(c.space.layers.size(), 4u);
  for (const dispfit::LayerRanges& layer : c.space.layers) {
    EXPECT_EQ(layer.vs, (dispfit::Range{80.0, 1000.0}));
    EXPECT_EQ(layer.thickness, (dispfit::Range{1.0, 15.0}));
    EXPECT_EQ(layer.poisson, (dispfit::Range{0.25, 0.45}));
    EXPECT_EQ(layer.density, 2.1);
  }
  EXPECT_EQ(c.space.waterTable, 3.0);
  EXPECT_TRUE(c.space.increasing);
  EXPECT_EQ(c.settings.models, 500);
  EXPECT_EQ(c.settings.seed, 9u);
  EXPECT_EQ(c.settings.threads, 3);
  EXPECT_EQ(c.rule.threshold, 1.5);
  EXPECT_EQ(c.rule.factor, 1.2);
  EXPECT_EQ(c.csvPrefix, "out");

  const GlobalCommand defaults = parsed("--global --layers 2 c.txt");
  ASSERT_EQ(defaults.action, GlobalCommand::Action::Run) << defaults.error;
  EXPECT_EQ(defaults.settings.models, dispfit::kDefaultSearchModels);
  EXPECT_GE(defaults.settings.threads, 1);
  EXPECT_EQ(defaults.space.layers[0].density, 1.9);
  EXPECT_FALSE(defaults.space.layers[0].vp);
  EXPECT_EQ(defaults.rule.threshold, 1.0);
  EXPECT_EQ(defaults.rule.factor, 1.1);
  // The surface-observed fundamental by default, every mode compared.
  EXPECT_EQ(defaults.forward.rule, swcore::ForwardRule::surfaceObserved);
  EXPECT_EQ(defaults.forward.fraction, 0.1);
  EXPECT_EQ(defaults.forward.modes, swcore::kMaxModes);

  const GlobalCommand lowest = parsed("--global --layers 2 --lowest-root c.txt");
  ASSERT_EQ(lowest.action, GlobalCommand::Action::Run) << lowest.error;
  EXPECT_EQ(lowest.forward.rule, swcore::ForwardRule::lowestRoot);
  const GlobalCommand observed =
      parsed("--global --layers 2 --observed-fraction 0.25 --observed-modes 6 c.txt");
  ASSERT_EQ(observed.action, GlobalCommand::Action::Run) << observed.error;
  EXPECT_EQ(observed.forward.rule, swcore::ForwardRule::surfaceObserved);
  EXPECT_EQ(observed.forward.fraction, 0.25);
  EXPECT_EQ(observed.forward.modes, 6);

  const GlobalCommand ranges = parsed("--global --params r.csv --increasing c.txt");
  ASSERT_EQ(ranges.action, GlobalCommand::Action::Run) << ranges.error;
  EXPECT_EQ(ranges.rangesPath, "r.csv");
  EXPECT_TRUE(ranges.space.layers.empty());
  EXPECT_EQ(parsed("--global --help").action, GlobalCommand::Action::Help);
}

TEST(GlobalOptions, BayesSetsThePriorTheSamplerAndTheLayerCounts) {
  const GlobalCommand c = parsed(
      "--bayes --layers 2-6 --vs-range 80 1000 --h-range 0.5 15 --increasing --samples 5000 "
      "--burn-in 700 --chains 6 --start-models 900 --seed 4 --threads 2 --csv p curve.csv");
  ASSERT_EQ(c.action, GlobalCommand::Action::Run) << c.error;
  EXPECT_EQ(c.method, GlobalCommand::Method::Posterior);
  EXPECT_EQ(c.layerCounts, (dispfit::LayerCountRange{2, 6}));
  EXPECT_EQ(c.space.layers.size(), 6u);  // the most layers, each with the ranges
  EXPECT_EQ(c.space.layers[5].vs, (dispfit::Range{80.0, 1000.0}));
  EXPECT_TRUE(c.space.increasing);
  EXPECT_EQ(c.sampler.samples, 5000);
  EXPECT_EQ(c.sampler.burnIn, 700);
  EXPECT_EQ(c.sampler.chains, 6);
  EXPECT_EQ(c.sampler.seed, 4u);
  EXPECT_EQ(c.sampler.threads, 2);
  EXPECT_EQ(c.startModels, 900);
  EXPECT_EQ(c.csvPrefix, "p");

  const GlobalCommand defaults = parsed("--bayes --layers 3 c.txt");
  ASSERT_EQ(defaults.action, GlobalCommand::Action::Run) << defaults.error;
  EXPECT_EQ(defaults.layerCounts, (dispfit::LayerCountRange{3, 3}));
  EXPECT_EQ(defaults.sampler.samples, dispfit::kDefaultPosteriorSamples);
  EXPECT_EQ(defaults.sampler.burnIn, dispfit::kDefaultPosteriorSamples / 2);
  EXPECT_EQ(defaults.startModels, dispfit::kDefaultStartModels);
  // The posterior takes the best-fit search's rule: the surface-observed
  // fundamental unless --lowest-root asks for the lowest root.
  EXPECT_EQ(defaults.forward.rule, swcore::ForwardRule::surfaceObserved);
  EXPECT_EQ(parsed("--bayes --layers 3 --lowest-root c.txt").forward.rule,
            swcore::ForwardRule::lowestRoot);
  // The best-fit search is what --global alone asks for.
  EXPECT_EQ(parsed("--global --layers 3 c.txt").method, GlobalCommand::Method::BestFit);
  EXPECT_EQ(parsed("--bayes --params r.csv c.txt").rangesPath, "r.csv");
}

TEST(GlobalOptions, RefusesBeforeAnyWork) {
  struct Row {
    const char* line;
    const char* says;
  };
  const Row rows[] = {
      {"--global c.txt", "needs --layers N or --params FILE"},
      {"--global --layers 0 c.txt", "--layers: \"0\" is not a whole number from 1 to 20"},
      {"--global --layers 21 c.txt", "from 1 to 20"},
      {"--global --layers 3 --vs-range 500 100 c.txt", "--vs-range: LO lies above HI"},
      {"--global --layers 3 --vs-range 0 100 c.txt", "--vs-range: 0 must be positive"},
      {"--global --layers 3 --h-range -1 5 c.txt", "--h-range: -1 must be positive"},
      {"--global --layers 3 --h-range 8 5 c.txt", "--h-range: LO lies above HI"},
      {"--global --layers 3 --density 0 c.txt", "--density: 0 must be positive"},
      // sqrt(2) x 1000 = 1414.2
      {"--global --layers 3 --vp 1400 c.txt", "below sqrt(2) times the top of the Vs range"},
      {"--global --layers 3 --poisson 0.2 0.5 c.txt", "Poisson's ratio must lie from 0"},
      {"--global --layers 3 --poisson -0.1 0.3 c.txt", "--poisson: LO must not be negative"},
      {"--global --layers 3 --vp 3000 --poisson 0.2 0.3 c.txt", "--vp and --poisson exclude"},
      {"--global --layers 3 --water-table 0 c.txt", "--water-table: 0 must be positive"},
      {"--global --layers 3 --vs-range 80 10000 c.txt", "below 10000 m/s"},
      {"--global --layers 3 --models 0 c.txt", "--models: \"0\" is not a whole number"},
      {"--global --layers 3 --threads 0 c.txt", "--threads: \"0\" is not a whole number"},
      {"--global --layers 3 --accept 0 c.txt", "--accept: 0 must be positive"},
      {"--global --layers 3 --accept-factor 0.9 c.txt", "--accept-factor must be at least 1"},
      {"--global --layers 3 --seed x c.txt", "--seed: \"x\" is not a whole number"},
      {"--global --layers 3 --frobnicate c.txt", "unknown option --frobnicate"},
      {"--global --layers 3 --iterations 5 c.txt", "--iterations belongs to the local inversion"},
      {"--global --layers 3 --suggest 3 c.txt", "--suggest belongs to the local inversion"},
      {"--global --layers 3 --vs-bounds 50 900 c.txt", "--vs-bounds belongs to the local"},
      {"--global --params r.csv --layers 3 c.txt", "--layers cannot be given with --params"},
      {"--global --params r.csv --vp 3000 c.txt", "--vp cannot be given with --params"},
      {"--global --layers 3 m.txt c.txt", "expects one file, CURVE"},
      {"--global --layers 3", "expects one file, CURVE"},
      {"--global --layers 3 --csv", "--csv needs a value"},
      {"--global --layers 3 --observed-fraction 0 c.txt",
       "--observed-fraction: 0 must be positive"},
      {"--global --layers 3 --observed-fraction 1.5 c.txt", "must lie above 0 and at most 1"},
      {"--global --layers 3 --observed-modes 1 c.txt", "--observed-modes: \"1\" is not a whole"},
      {"--global --layers 3 --lowest-root --observed-fraction 0.2 c.txt",
       "--observed-fraction sets the surface-observed rule, which --lowest-root replaces"},
      {"--global --layers 3 --vs-range 80 c.txt", "--vs-range: \"c.txt\" is not a number"},
      {"--bayes c.txt", "--bayes needs --layers N, --layers A-B or --params FILE"},
      {"--bayes --layers 5-2 c.txt", "--layers: \"5-2\" is not a layer count range A-B"},
      {"--bayes --layers 0-4 c.txt", "with 1 <= A <= B <= 20"},
      {"--bayes --layers 2-21 c.txt", "is not a layer count range"},
      {"--bayes --layers 2-x c.txt", "is not a layer count range"},
      {"--global --layers 2-4 c.txt", "--layers A-B samples the layer count and needs --bayes"},
      {"--bayes --layers 3 --models 100 c.txt", "--models belongs to --global, not to --bayes"},
      {"--bayes --layers 3 --accept 2 c.txt", "--accept belongs to --global"},
      {"--global --layers 3 --samples 100 c.txt", "--samples belongs to --bayes, not to --global"},
      {"--global --layers 3 --chains 4 c.txt", "--chains belongs to --bayes"},
      {"--global --bayes --layers 3 c.txt", "--global and --bayes exclude each other"},
      {"--bayes --layers 3 --samples 0 c.txt", "--samples: \"0\" is not a whole number"},
      {"--bayes --layers 3 --chains 0 c.txt", "--chains: \"0\" is not a whole number"},
      {"--bayes --layers 3 --burn-in -1 c.txt", "--burn-in: \"-1\" is not a whole number"},
      {"--bayes --params r.csv --layers 2-4 c.txt", "--layers cannot be given with --params"},
      {"--bayes --layers 3 --vs-range 500 100 c.txt", "--vs-range: LO lies above HI"},
      {"--bayes --layers 3", "--bayes expects one file, CURVE"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.line);
    const GlobalCommand c = parsed(row.line);
    EXPECT_EQ(c.action, GlobalCommand::Action::Error);
    EXPECT_NE(c.error.find(row.says), std::string::npos) << c.error;
  }
}

}  // namespace
