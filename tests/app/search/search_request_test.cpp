// SPDX-License-Identifier: GPL-3.0-or-later
// The window's search form mapped to the search's space, settings and rule,
// and the forms refused before any work starts.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "search/search_ranges_text.h"
#include "search/search_request.h"

namespace {

using namespace dispfit;

TEST(SearchRequest, EveryLayerTakesTheFormsRangesAndTheHalfSpaceComesLast) {
  SearchRequest request;
  request.layers = 3;
  request.vs = {120.0, 700.0};
  request.thickness = {2.0, 8.0};
  request.density = 2.05;
  request.increasing = true;
  request.waterTable = 4.5;
  const SearchSpace space = searchSpaceOf(request);
  ASSERT_EQ(space.layers.size(), 3u);
  for (const LayerRanges& layer : space.layers) {
    EXPECT_EQ(layer.vs, (Range{120.0, 700.0}));
    EXPECT_EQ(layer.thickness, (Range{2.0, 8.0}));
    EXPECT_EQ(layer.density, 2.05);
  }
  EXPECT_TRUE(space.increasing);
  EXPECT_EQ(space.waterTable, 4.5);
  // 3 S velocities and 2 thicknesses: the half-space's thickness is no
  // parameter, so the third layer is the half-space.
  EXPECT_EQ(ParameterMap(space).dimension(), 5u);
}

TEST(SearchRequest, PVelocityRules) {
  // Each rule at the middle of the unit cube. Vs is searched on a log scale,
  // so there Vs = sqrt(120 x 700) = 289.8275 m/s. By hand:
  //   Vp = 3 Vs                      -> 869.4826 m/s
  //   fixed 2000 m/s                 -> 2000 m/s
  //   Poisson's ratio 0.25 .. 0.45 (linear), middle 0.35:
  //     Vp = Vs sqrt((2 - 0.7) / (1 - 0.7)) = 289.8275 sqrt(4.3333) = 289.8275 * 2.0816660
  //        = 603.3241 m/s
  struct Row {
    const char* name;
    PVelocityRule rule;
    double vp;
    std::size_t dimension;  // 2 Vs, 1 thickness, plus a ratio per layer
  } const rows[] = {{"three times Vs", PVelocityRule::ThreeTimesVs, 869.4826, 3},
                    {"fixed", PVelocityRule::Fixed, 2000.0, 3},
                    {"Poisson's ratio", PVelocityRule::PoissonRange, 603.3241, 5}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    SearchRequest request;
    request.layers = 2;
    request.vs = {120.0, 700.0};
    request.vpRule = row.rule;
    request.fixedVp = 2000.0;
    request.poisson = {0.25, 0.45};
    const ParameterMap map(searchSpaceOf(request));
    ASSERT_EQ(map.dimension(), row.dimension);
    const std::vector<double> middle(map.dimension(), 0.5);
    TrialModel model;
    map.model(middle, model);
    ASSERT_EQ(model.vp.size(), 2u);
    for (const double vp : model.vp) EXPECT_NEAR(vp, row.vp, 1e-3);  // m/s, printed digits
  }
}

TEST(SearchRequest, EachLayerTakesItsOwnRangesAndOnlyTheBareOnesTheVpRule) {
  // Three layers, each range of its own; the top one with its own fixed Vp,
  // the others left to the form's rule (a fixed 2500 m/s). At the cube's
  // corners every parameter sits at one end of its own layer's range.
  SearchRequest request;
  request.layers = 3;
  request.vs = {80.0, 1000.0};  // the uniform ranges, not to be used
  request.thickness = {1.0, 15.0};
  request.vpRule = PVelocityRule::Fixed;
  request.fixedVp = 2500.0;
  request.layerRanges = {{{100.0, 300.0}, {0.5, 4.0}, 1.8, 1600.0, std::nullopt},
                         {{150.0, 600.0}, {2.0, 9.0}, 1.95, std::nullopt, std::nullopt},
                         {{400.0, 1200.0}, {0.0, 0.0}, 2.1, std::nullopt, std::nullopt}};
  ASSERT_EQ(searchRequestFault(request), "");
  const ParameterMap map(searchSpaceOf(request));
  ASSERT_EQ(map.dimension(), 5u);  // 3 Vs and 2 thicknesses
  struct Row {
    const char* name;
    double unit;
    std::vector<double> vs, thickness;
  } const rows[] = {{"low corner", 0.0, {100.0, 150.0, 400.0}, {0.5, 2.0, 0.0}},
                    {"high corner", 1.0, {300.0, 600.0, 1200.0}, {4.0, 9.0, 0.0}}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    TrialModel model;
    map.model(std::vector<double>(map.dimension(), row.unit), model);
    for (std::size_t i = 0; i < 3; ++i) {
      SCOPED_TRACE(i);
      // exp and log of the log scale: a few units in the last place
      EXPECT_NEAR(model.vs[i], row.vs[i], 1e-9 * row.vs[i]);
      EXPECT_NEAR(model.thickness[i], row.thickness[i], 1e-9 * (1.0 + row.thickness[i]));
    }
    EXPECT_EQ(model.density, (std::vector<double>{1.8, 1.95, 2.1}));
    EXPECT_EQ(model.vp, (std::vector<double>{1600.0, 2500.0, 2500.0}));
  }
}

TEST(SearchRequest, AFilesPerLayerPoissonRangesSurviveTheFormsRule) {
  // Two layers from a ranges file, each with its own Poisson's ratio range,
  // under a form that says Vp = 3 Vs. At the middle of the cube, by hand:
  //   Vs1 = sqrt(100 x 400) = 200 m/s, h1 = sqrt(1 x 4) = 2 m, nu1 = 0.25:
  //     Vp1 = 200 sqrt(1.5 / 0.5) = 346.4102 m/s
  //   Vs2 = sqrt(200 x 800) = 400 m/s, nu2 = 0.425:
  //     Vp2 = 400 sqrt(1.15 / 0.15) = 400 x 2.7688746 = 1107.5498 m/s
  const RangesReading reading = readSearchRanges(
      "vs min, vs max, h min, h max, density, poisson min, poisson max\n"
      "100, 400, 1, 4, 1.8, 0.2, 0.3\n"
      "200, 800, 0, 0, 2.0, 0.4, 0.45\n",
      "ranges.csv");
  ASSERT_TRUE(reading.layers) << reading.error;
  SearchRequest request;
  request.layers = 2;
  request.vpRule = PVelocityRule::ThreeTimesVs;
  request.layerRanges = *reading.layers;
  ASSERT_EQ(searchRequestFault(request), "");
  const ParameterMap map(searchSpaceOf(request));
  ASSERT_EQ(map.dimension(), 5u);  // 2 Vs, 1 thickness, 2 ratios
  TrialModel model;
  map.model(std::vector<double>(map.dimension(), 0.5), model);
  EXPECT_NEAR(model.vs[0], 200.0, 1e-9);
  EXPECT_NEAR(model.thickness[0], 2.0, 1e-12);
  EXPECT_NEAR(model.vp[0], 346.4102, 1e-4);  // m/s, printed digits
  EXPECT_NEAR(model.vp[1], 1107.5498, 1e-4);
  EXPECT_EQ(model.density, (std::vector<double>{1.8, 2.0}));
}

TEST(SearchRequest, PerLayerRangesRefusedWhenTheyDoNotFitTheForm) {
  SearchRequest request;
  request.layers = 3;
  const LayerRanges good{{100.0, 400.0}, {1.0, 5.0}, 1.9, std::nullopt, std::nullopt};
  struct Row {
    const char* name;
    std::vector<LayerRanges> layers;
    const char* part;  // in the message; empty: accepted
  } const rows[] = {
      {"one per layer", {good, good, good}, ""},
      {"one layer short", {good, good}, "2 layers"},
      {"second layer upside down",
       {good, {{400.0, 100.0}, {1.0, 5.0}, 1.9, std::nullopt, std::nullopt}, good},
       "2"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    request.layerRanges = row.layers;
    const std::string fault = searchRequestFault(request);
    if (std::string(row.part).empty()) {
      EXPECT_EQ(fault, "");
    } else {
      EXPECT_NE(fault.find(row.part), std::string::npos) << fault;
    }
  }
}

TEST(SearchRequest, SettingsCarryBudgetSeedAndThreads) {
  SearchRequest request;
  request.models = 2500;
  request.seed = 77;
  const SearchSettings settings = searchSettingsOf(request, 6);
  EXPECT_EQ(settings.models, 2500);
  EXPECT_EQ(settings.seed, 77u);
  EXPECT_EQ(settings.threads, 6);
  // A machine that cannot say how many cores it has still gets one thread.
  EXPECT_EQ(searchSettingsOf(request, 0).threads, 1);
}

TEST(SearchRequest, FormsRefusedBeforeAnyWorkAndTheDefaultsTaken) {
  struct Row {
    const char* name;
    void (*change)(SearchRequest&);
    const char* part;  // in the message; empty: accepted
  } const rows[] = {
      {"the defaults", [](SearchRequest&) {}, ""},
      {"no layer", [](SearchRequest& r) { r.layers = 0; }, "layers"},
      {"21 layers", [](SearchRequest& r) { r.layers = 21; }, "layers"},
      {"20 layers", [](SearchRequest& r) { r.layers = 20; }, ""},
      {"Vs range upside down",
       [](SearchRequest& r) {
         r.vs = {500.0, 200.0};
       },
       "Vs"},
      {"zero thickness",
       [](SearchRequest& r) {
         r.thickness = {0.0, 5.0};
       },
       "thickness"},
      {"no density", [](SearchRequest& r) { r.density = 0.0; }, "density"},
      {"fixed Vp below sqrt 2 times the top Vs",
       [](SearchRequest& r) {
         r.vpRule = PVelocityRule::Fixed;
         r.fixedVp = 1400.0;  // 1000 m/s * sqrt(2) = 1414 m/s
       },
       "Vp"},
      {"fixed Vp above sqrt 2 times the top Vs",
       [](SearchRequest& r) {
         r.vpRule = PVelocityRule::Fixed;
         r.fixedVp = 1420.0;
       },
       ""},
      {"Poisson's ratio of 0.5",
       [](SearchRequest& r) {
         r.vpRule = PVelocityRule::PoissonRange;
         r.poisson = {0.3, 0.5};
       },
       "Poisson"},
      {"water table at the surface", [](SearchRequest& r) { r.waterTable = 0.0; }, "water"},
      {"no model", [](SearchRequest& r) { r.models = 0; }, "budget"},
      {"no threshold", [](SearchRequest& r) { r.acceptance.threshold = 0.0; }, "threshold"},
      {"factor below 1", [](SearchRequest& r) { r.acceptance.factor = 0.95; }, "factor"},
      {"factor of NaN", [](SearchRequest& r) { r.acceptance.factor = std::nan(""); }, "factor"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    SearchRequest request;
    row.change(request);
    const std::string fault = searchRequestFault(request);
    if (std::string(row.part).empty()) {
      EXPECT_EQ(fault, "");
    } else {
      EXPECT_NE(fault.find(row.part), std::string::npos) << fault;
    }
  }
}

}  // namespace
