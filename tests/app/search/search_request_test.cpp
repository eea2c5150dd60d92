// The window's search form mapped to the search's space, settings and rule,
// and the forms refused before any work starts.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

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
