// SPDX-License-Identifier: GPL-3.0-or-later
#include "inversion/damped_least_squares.h"

#include <gtest/gtest.h>
#include <Eigen/Dense>

#include <algorithm>
#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "inversion/dispersion_evaluation.h"
#include "inversion_fixtures.h"
#include "stream_sink.h"

namespace swcore {
namespace {

using dispfit_test::dataSetState;
using dispfit_test::Model;
using dispfit_test::twoLayersOverHalfSpace;

const std::vector<double> kHertz{150, 100, 70, 50, 40, 30, 25, 20, 15, 12, 10, 8, 6, 5};

// One evaluation as the console shows it.
struct Evaluation {
  double phi;
  int isb;
};

std::vector<Evaluation> evaluationsIn(const std::string& console) {
  std::vector<Evaluation> trace;
  std::istringstream lines(console);
  std::string line;
  while (std::getline(lines, line)) {
    if (line.rfind("PHI= ", 0) == 0) {
      trace.push_back({std::stod(line.substr(5)), 0});
    } else if (line.rfind("ISB= ", 0) == 0 && !trace.empty()) {
      trace.back().isb = std::stoi(line.substr(5));
    }
  }
  return trace;
}

// Replays the acceptance and line-search rules over a trace and checks that
// every evaluation is the one the rules call for. Returns the damping factor
// the rules lead to from 1.
struct Replay {
  double lambdaFactor = 1.0;
  int fullSteps = 0;
  int trials = 0;
  int restores = 0;
};

Replay replay(const std::vector<Evaluation>& trace, double ea, bool endedAtLimit = false) {
  Replay r;
  EXPECT_FALSE(trace.empty());
  if (trace.empty()) {
    return r;
  }
  EXPECT_EQ(trace.front().isb, 1);
  double phiOld = 0.0;
  int ntry = 0;
  for (std::size_t i = 0; i < trace.size(); ++i) {
    const Evaluation& e = trace[i];
    const bool last = i + 1 == trace.size();
    SCOPED_TRACE("evaluation " + std::to_string(i));
    r.fullSteps += e.isb == 2 ? 1 : 0;
    if (e.phi < kMisfitFloor) {
      EXPECT_TRUE(last) << "a misfit below 1e-5 ends the run";
      break;
    }
    int expectedNext = 0;
    bool accepted = false;
    if (e.isb == 1) {
      phiOld = e.phi;
      expectedNext = 2;
    } else if (e.isb == 2) {
      if (e.phi < phiOld) {
        accepted = true;
      } else {
        ntry = 0;
        expectedNext = 3;
      }
    } else {
      ++r.trials;
      ++ntry;
      if (e.phi < phiOld) {
        accepted = true;
      } else if (ntry < 2) {
        expectedNext = 3;
      } else {
        r.lambdaFactor *= 1.5;
        ++r.restores;
        expectedNext = 2;
      }
    }
    if (accepted) {
      // An accepted model ends the run unless the run went on to its
      // iteration limit, which only a further step can reach.
      if (last && !endedAtLimit) {
        break;
      }
      EXPECT_FALSE(e.phi < ea) << "a misfit below EA ends the run";
      phiOld = e.phi;
      r.lambdaFactor *= 0.5;
      expectedNext = 2;
    }
    if (!last) {
      EXPECT_EQ(trace[i + 1].isb, expectedNext);
    }
  }
  return r;
}

struct InversionRun {
  std::unique_ptr<EngineState> state;
  std::vector<double> x;
  std::ostringstream console;
  InversionOutcome outcome;
};

// Observed data: the curve of `truth`. Start: `start`; free parameters: the
// ones not flagged in `fixed` (PAR order).
void prepare(InversionRun& run, const Model& truth, const Model& start,
             const std::vector<int>& fixed) {
  {
    auto observed = dataSetState(truth, kHertz);
    std::ostringstream quiet;
    RecordWriter sink(streamSink(quiet));
    ASSERT_TRUE(DISRAY(*observed, {}, sink));
    run.state = dataSetState(start, kHertz);
    for (std::size_t j = 0; j < kHertz.size(); ++j) {
      run.state->VOBS[j] = observed->velocity[j];
    }
  }
  run.state->KK = 1;
  run.state->BL = static_cast<double>(0.01f);
  run.state->BU = 5.0;
  run.state->HL = static_cast<double>(1e-4f);
  run.state->HU = static_cast<double>(0.05f);
  run.state->EA = 1e-5;
  for (int32_t i = 0; i < run.state->NP; ++i) {
    run.state->IFIX[i] = fixed[static_cast<std::size_t>(i)];
    if (run.state->IFIX[i] == 0) {
      run.x.push_back(run.state->PAR[i]);
    }
  }
  run.state->NF = static_cast<int32_t>(run.x.size());
}

void solve(InversionRun& run, double lambda0) {
  RecordWriter sink(streamSink(run.console));
  run.outcome = DLSINV(*run.state, run.x, lambda0, sink);
}

TEST(DampedLeastSquares, MisfitIsThePlainSumOfSquaredResiduals) {
  auto state = dataSetState(twoLayersOverHalfSpace(), {10, 5, 2});
  const double computed[] = {0.2, 0.3, 0.35};
  const double observed[] = {0.25, 0.28, 0.35};
  for (int j = 0; j < 3; ++j) {
    state->velocity[j] = computed[j];
    state->VOBS[j] = observed[j];
  }
  EXPECT_NEAR(MISFIT(*state), 0.05 * 0.05 + 0.02 * 0.02, 1e-15);
  EXPECT_NEAR(state->RES[0], 0.05, 1e-15);
  EXPECT_NEAR(state->RES[1], -0.02, 1e-15);
  EXPECT_EQ(state->RES[2], 0.0);
}

TEST(DampedLeastSquares, SensitivitiesAreForwardDifferencesOfTheCurve) {
  InversionRun run;
  const Model model = twoLayersOverHalfSpace();
  prepare(run, model, model, {0, 0, 0, 0, 0, 1});
  std::vector<double> x = run.x;
  RecordWriter sink(streamSink(run.console));
  ASSERT_TRUE(JACOB(*run.state, x, sink));
  EXPECT_EQ(x, run.x) << "every parameter is put back after its perturbation";
  EXPECT_EQ(run.state->PRTSW, 1);
  // Independent derivatives: central differences of determinant roots.
  const std::vector<std::pair<int, int>> params{{0, 0}, {0, 1}, {1, 0}, {1, 1}, {2, 0}};
  for (std::size_t k = 0; k < params.size(); ++k) {
    const auto [layer, kind] = params[k];
    for (const std::size_t j : {std::size_t{1}, std::size_t{7}, std::size_t{13}}) {
      Model up = model;
      Model down = model;
      auto& upValue = kind == 0 ? up.vs[static_cast<std::size_t>(layer)]
                                : up.thickness[static_cast<std::size_t>(layer)];
      auto& downValue = kind == 0 ? down.vs[static_cast<std::size_t>(layer)]
                                  : down.thickness[static_cast<std::size_t>(layer)];
      upValue += 5e-4;
      downValue -= 5e-4;
      const double derivative = (dispfit_test::referencePhaseVelocity(up, kHertz[j], 0.12) -
                                 dispfit_test::referencePhaseVelocity(down, kHertz[j], 0.12)) /
                                1e-3;
      // A difference over 1e-4 of roots found to 1e-6 km/s carries errors of
      // a few tenths in the steep places.
      EXPECT_NEAR(run.state->SENS[k][j], derivative, 0.05 + 0.1 * std::abs(derivative))
          << "parameter " << k << ", " << kHertz[j] << " Hz";
    }
  }
  // The last evaluation was the one with the last free parameter raised.
  EXPECT_NE(run.state->velocity[13], run.state->referenceCurve[13]);
}

TEST(DampedLeastSquares, StartOnTheObservedCurveBeginsNoStep) {
  InversionRun run;
  const Model model = twoLayersOverHalfSpace();
  prepare(run, model, model, {0, 0, 0, 0, 0, 1});
  const std::vector<double> start = run.x;
  solve(run, 1.0);
  EXPECT_EQ(run.outcome.ISTAT, kStatusConverged);
  EXPECT_EQ(run.outcome.ITER, 0);
  EXPECT_LT(run.outcome.PHIOUT, kMisfitFloor);
  EXPECT_EQ(run.x, start);
  // The final sensitivity run leaves the curve with the last free parameter
  // (the half-space velocity) raised: the 5 Hz velocity moves, 150 Hz does not.
  EXPECT_GT(run.state->velocity[13], run.state->VOBS[13] + 1e-6);
  EXPECT_NEAR(run.state->velocity[0], run.state->VOBS[0], 1e-9);
  EXPECT_GT(run.state->SENS[4][13], 0.1);
  const std::string text = run.console.str();
  EXPECT_EQ(text.rfind("DAMPING LEAST SQUARE METHOD\n", 0), 0u);
  EXPECT_EQ(evaluationsIn(text).size(), 1u);
  EXPECT_NE(text.find("ISB= 1\n"), std::string::npos);
}

TEST(DampedLeastSquares, PerturbedVelocitiesAreRecovered) {
  InversionRun run;
  const Model truth = twoLayersOverHalfSpace();
  Model start = truth;
  start.vs = {0.17, 0.22, 0.43};
  prepare(run, truth, start, {0, 1, 0, 1, 0, 1});
  solve(run, 1.0);
  EXPECT_EQ(run.outcome.ISTAT, kStatusConverged);
  EXPECT_LT(run.outcome.PHIOUT, 1e-5);
  EXPECT_NEAR(run.x[0], 0.15, 2e-3);
  EXPECT_NEAR(run.x[1], 0.25, 5e-3);
  EXPECT_NEAR(run.x[2], 0.40, 1e-2);
  const std::vector<Evaluation> trace = evaluationsIn(run.console.str());
  const Replay r = replay(trace, 1e-5);
  EXPECT_EQ(run.outcome.ITER, r.fullSteps);
  EXPECT_DOUBLE_EQ(run.state->LAMBDA, r.lambdaFactor);
}

// A weakly damped first step from far away overshoots: the line search and
// the damping raise come into play, and every move follows the rules. The
// start has the S velocities of the two layers swapped and the thicknesses
// held, so no trial model needs a step shortened for its thicknesses.
TEST(DampedLeastSquares, LineSearchAndDampingFollowTheRules) {
  InversionRun run;
  const Model truth = twoLayersOverHalfSpace();
  Model start = truth;
  start.vs = {0.25, 0.15, 0.40};
  prepare(run, truth, start, {0, 1, 0, 1, 0, 1});
  solve(run, 1e-8);
  const std::vector<Evaluation> trace = evaluationsIn(run.console.str());
  const Replay r = replay(trace, 1e-5, run.outcome.ISTAT == kStatusIterationLimit);
  EXPECT_GT(r.trials, 0) << "the case must exercise the line search";
  EXPECT_GT(r.restores, 0) << "the case must abandon a step";
  const int stepsBegun = r.fullSteps + (run.outcome.ISTAT == kStatusIterationLimit ? 1 : 0);
  EXPECT_EQ(run.outcome.ITER, stepsBegun);
  EXPECT_DOUBLE_EQ(run.state->LAMBDA, 1e-8 * r.lambdaFactor);
  // (PHI, PHIOLD) follows every full-step evaluation.
  std::size_t pairs = 0;
  std::istringstream lines(run.console.str());
  std::string line;
  std::string previous;
  while (std::getline(lines, line)) {
    if (previous == "ISB= 2") {
      std::istringstream fields(line);
      double phi = 0;
      double phiOld = 0;
      EXPECT_TRUE(static_cast<bool>(fields >> phi >> phiOld)) << line;
      ++pairs;
    }
    previous = line;
  }
  EXPECT_EQ(pairs, static_cast<std::size_t>(r.fullSteps));
}

// No free parameter: no step can lower the misfit, every step is abandoned
// after the parabolic trial and its half, and the run ends at the limit.
TEST(DampedLeastSquares, RunWithoutConvergenceEndsAtTheIterationLimit) {
  InversionRun run;
  const Model truth = twoLayersOverHalfSpace();
  Model start = truth;
  start.vs[0] = 0.16;
  prepare(run, truth, start, {1, 1, 1, 1, 1, 1});
  solve(run, 1.0);
  EXPECT_EQ(run.outcome.ISTAT, kStatusIterationLimit);
  EXPECT_EQ(run.outcome.ITER, 31);
  const std::vector<Evaluation> trace = evaluationsIn(run.console.str());
  ASSERT_EQ(trace.size(), 1u + 30u * 3u);
  const Replay r = replay(trace, 1e-5, true);
  EXPECT_EQ(r.restores, 30);
  EXPECT_DOUBLE_EQ(run.state->LAMBDA, std::pow(1.5, 30));
  EXPECT_EQ(run.outcome.PHIOUT, trace.back().phi);
}

// The half-space thickness moves no datum: its column of SENS is zero.
TEST(DampedLeastSquares, ParameterWithoutSensitivityNeedsTheDamping) {
  const Model truth = twoLayersOverHalfSpace();
  Model start = truth;
  start.vs[1] = 0.27;
  start.thickness[2] = 0.03;
  {
    InversionRun run;
    prepare(run, truth, start, {1, 1, 0, 1, 1, 0});
    const std::vector<double> before = run.x;
    solve(run, 0.0);
    EXPECT_EQ(run.outcome.ISTAT, kStatusSingular);
    EXPECT_EQ(run.outcome.ITER, 1);
    EXPECT_EQ(run.x, before) << "the step is not applied";
    for (int j = 0; j < 14; ++j) {
      EXPECT_EQ(run.state->SENS[1][j], 0.0);
    }
  }
  {
    InversionRun run;
    prepare(run, truth, start, {1, 1, 0, 1, 1, 0});
    solve(run, 1.0);
    EXPECT_EQ(run.outcome.ISTAT, kStatusConverged);
    EXPECT_NEAR(run.x[0], 0.25, 2e-3);
    EXPECT_EQ(run.x[1], 0.03) << "no datum pulls on it";
  }
}

// The step rule for thicknesses on hand-made steps. PAR order: S velocity and
// thickness of layer 1, of layer 2, of the half-space (km/s, km).
TEST(ThicknessStepLimit, ShortensOnlyStepsThatWouldEndALayerAtOrBelowZero) {
  struct Case {
    const char* name;
    std::vector<int> fixed;      // IFIX over PAR
    std::vector<double> x;       // the free parameters
    std::vector<double> step;    // the literal step
    std::vector<double> expect;  // the step after the rule, worked by hand
  };
  const std::vector<Case> cases{
      // Thicknesses that shrink but stay positive, and an S velocity that
      // goes negative (not this rule's business): nothing changes.
      {"positive thicknesses",
       {0, 0, 0, 0, 0, 1},
       {0.15, 0.005, 0.25, 0.010, 0.4},
       {0.01, -0.0049, -0.3, -0.0099, 0.05},
       {0.01, -0.0049, -0.3, -0.0099, 0.05}},
      // 5 m - 15 m: the step is cut to 1/6 so the layer ends at 2.5 m, half
      // its thickness; every component shrinks alike.
      {"one layer crosses zero",
       {0, 0, 0, 0, 0, 1},
       {0.15, 0.005, 0.25, 0.010, 0.4},
       {0.012, -0.015, 0.006, 0.003, 0.024},
       {0.002, -0.0025, 0.001, 0.0005, 0.004}},
      // Layer 1 would need 1/4 (5 m - 10 m), layer 2 1/8 (10 m - 40 m): the
      // smaller factor keeps both positive.
      {"two layers cross zero",
       {0, 0, 0, 0, 0, 1},
       {0.15, 0.005, 0.25, 0.010, 0.4},
       {0.008, -0.010, 0.016, -0.040, 0.0},
       {0.001, -0.00125, 0.002, -0.005, 0.0}},
      // Ending exactly at zero is not positive: 4 m - 4 m is cut to half.
      {"ends at zero", {1, 0, 1, 1, 1, 1}, {0.004}, {-0.004}, {-0.002}},
      // With the S velocities fixed the free entries are h1, h2, h3; h2
      // (10 m - 20 m) is the second free entry and sets the factor 1/4.
      {"fixed velocities shift the entries",
       {1, 0, 1, 0, 1, 0},
       {0.005, 0.010, 0.030},
       {0.004, -0.020, -0.008},
       {0.001, -0.005, -0.002}},
      // The half-space thickness is a thickness too: 30 m - 50 m, factor 0.3.
      {"half-space thickness", {1, 1, 1, 1, 0, 0}, {0.4, 0.030}, {0.1, -0.050}, {0.03, -0.015}},
      // A layer given as 0 m cannot stay positive along a lowering step: its
      // lowering is dropped, the rest of the step is kept.
      {"zero thickness",
       {0, 0, 0, 0, 0, 1},
       {0.15, 0.0, 0.25, 0.010, 0.4},
       {0.01, -0.001, 0.02, 0.001, 0.03},
       {0.01, 0.0, 0.02, 0.001, 0.03}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto state = dataSetState(twoLayersOverHalfSpace(), kHertz);
    state->NF = static_cast<int32_t>(c.x.size());
    for (std::size_t i = 0; i < c.fixed.size(); ++i) {
      state->IFIX[i] = c.fixed[i];
    }
    std::copy(c.step.begin(), c.step.end(), state->STEP);
    keepThicknessesPositive(*state, c.x);
    for (std::size_t k = 0; k < c.x.size(); ++k) {
      SCOPED_TRACE("free parameter " + std::to_string(k));
      if (c.step == c.expect) {
        EXPECT_EQ(state->STEP[k], c.step[k]) << "left exactly as it was";
      } else {
        // 1e-17 km: some dozens of ulps of entries near 1e-3 km.
        EXPECT_NEAR(state->STEP[k], c.expect[k], 1e-17);
      }
    }
  }
}

// From 9 m over 6 m (truth 5 m over 10 m) with almost no damping, the first
// literal step takes a thickness below zero; shortened, the run converges
// with every layer positive.
TEST(DampedLeastSquares, OvershootingThicknessStepIsShortened) {
  InversionRun run;
  const Model truth = twoLayersOverHalfSpace();
  Model start = truth;
  start.thickness = {0.009, 0.006, 0.0};
  prepare(run, truth, start, {0, 0, 0, 0, 0, 1});
  constexpr double kLambda = 1e-8;
  {
    // The first literal step, solved independently from the sensitivities
    // and residuals at the start: (S^T S + lambda I) s = S^T r.
    std::vector<double> x = run.x;
    RecordWriter sink(streamSink(run.console));
    ASSERT_TRUE(JACOB(*run.state, x, sink));
    ASSERT_TRUE(DISRAY(*run.state, x, sink));
    MISFIT(*run.state);
    const Eigen::Index nf = run.state->NF;
    const Eigen::Index m = run.state->M;
    Eigen::MatrixXd s(m, nf);
    Eigen::VectorXd r(m);
    for (Eigen::Index j = 0; j < m; ++j) {
      r(j) = run.state->RES[j];
      for (Eigen::Index k = 0; k < nf; ++k) {
        s(j, k) = run.state->SENS[k][j];
      }
    }
    const Eigen::MatrixXd a = s.transpose() * s + kLambda * Eigen::MatrixXd::Identity(nf, nf);
    const Eigen::VectorXd step = a.ldlt().solve(s.transpose() * r);
    const double h1 = x[1] + step(1);
    const double h2 = x[3] + step(3);
    ASSERT_LE(std::min(h1, h2), 0.0) << "the case must need the rule: " << h1 << ", " << h2;
    run.console.str("");
  }
  solve(run, kLambda);
  EXPECT_EQ(run.outcome.ISTAT, kStatusConverged);
  EXPECT_LT(run.outcome.PHIOUT, 1e-5);
  EXPECT_GT(run.x[1], 0.0);
  EXPECT_GT(run.x[3], 0.0);
  // The misfit floor of 14 data leaves the layers within about 1 m.
  EXPECT_NEAR(run.x[1], 0.005, 1e-3);
  EXPECT_NEAR(run.x[3], 0.010, 2e-3);
  // A shortened step still follows the acceptance and line-search rules.
  const std::vector<Evaluation> trace = evaluationsIn(run.console.str());
  const Replay r = replay(trace, 1e-5);
  EXPECT_EQ(run.outcome.ITER, r.fullSteps);
}

}  // namespace
}  // namespace swcore
