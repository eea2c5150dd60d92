// SPDX-License-Identifier: GPL-3.0-or-later
// DampedInversion on stand-in engines whose curves make each exit of the
// solve happen: the start fits, convergence, the decomposition failing,
// rank zero, six trials in one iteration, the iteration limit and a failed
// engine run at every place where the solve runs the engine.
#include "inversion/damped_inversion.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "curve_function_engine.h"
#include "inversion/window_inversion.h"

namespace dispfit {

namespace {

using Settings = WindowInversionSettings;

constexpr int kFreqCount = 30;

std::vector<float> frequencies() {
  std::vector<float> f(kFreqCount);
  for (int i = 0; i < kFreqCount; ++i) f[i] = 150.0f - 5.0f * static_cast<float>(i);
  return f;
}

std::vector<float> observedCurve() {
  std::vector<float> v(kFreqCount);
  for (int i = 0; i < kFreqCount; ++i) v[i] = 300.0f + static_cast<float>(i);
  return v;
}

// Velocities, thicknesses, densities.
std::vector<float> model(std::vector<float> vs, std::vector<float> h) {
  std::vector<float> params = vs;
  params.insert(params.end(), h.begin(), h.end());
  params.insert(params.end(), vs.size(), 1.8f);
  return params;
}

// The driver's bounds for n layers.
void setDriverBounds(DampedInversion& inversion, int n) {
  std::vector<float> upper(2 * static_cast<size_t>(n));
  std::vector<float> lower(upper.size());
  for (int i = 0; i < 2 * n; ++i) {
    upper[i] = i < n ? Settings::kVelocityUpper : Settings::kThicknessUpper;
    lower[i] = i < n ? Settings::kVelocityLower : Settings::kThicknessLower;
  }
  inversion.setStepThreshold(Settings::kStepThreshold);
  inversion.setBounds(2 * n, upper.data(), lower.data());
}

// An engine, its data and an inversion configured like the window's.
struct Solve {
  Solve(CurveFunctionEngine::Curve curve, const std::vector<float>& start,
        const std::vector<float>& observed = observedCurve())
      : engine(std::move(curve)), freq(frequencies()), vr(observed) {
    const int32_t sizes[] = {static_cast<int32_t>(vr.size())};
    const int n = static_cast<int>(start.size()) / 3;
    inversion = std::make_unique<DampedInversion>(engine, 1, sizes, freq.data(), vr.data(), 2 * n,
                                                  start.data(), false);
    inversion->setControls(Settings::kMaxIterations, Settings::kMisfitTolerance);
    setDriverBounds(*inversion, n);
    inversion->setMessagePump([this] { ++pumps; });
  }

  int32_t iteration() const {
    int32_t count = 0;
    float misfit = 0.0f;
    inversion->results(count, misfit);
    return count;
  }
  float finalMisfit() const {
    int32_t count = 0;
    float misfit = 0.0f;
    inversion->results(count, misfit);
    return misfit;
  }
  std::vector<float> params() const {
    std::vector<float> p(150);
    int32_t length = 0;
    inversion->currentParams(length, p.data());
    p.resize(static_cast<size_t>(length));
    return p;
  }

  CurveFunctionEngine engine;
  std::vector<float> freq;
  std::vector<float> vr;
  std::unique_ptr<DampedInversion> inversion;
  int pumps = 0;
};

// The misfit of a curve against the observed one, in double.
double misfitOf(const ForwardCall& call, const std::vector<float>& observed) {
  double sum = 0.0;
  for (int i = 0; i < call.freqCount; ++i) {
    const double e = static_cast<double>(observed[i]) - call.phaseVelocity[i];
    sum += e * e;
  }
  return std::sqrt(sum / (2.0 * call.freqCount));
}

// v_i = observed_i + offset, whatever the model.
CurveFunctionEngine::Curve offsetCurve(float offset) {
  return [offset](ForwardCall& call) {
    const std::vector<float> observed = observedCurve();
    for (int i = 0; i < call.freqCount; ++i) call.phaseVelocity[i] = observed[i] + offset;
  };
}

// Linear in the velocities and in the layer thicknesses (not the half-space's).
void linearCurve(ForwardCall& call) {
  for (int i = 0; i < call.freqCount; ++i) {
    const double w = call.freq[i] / 150.0;
    double v = 0.0;
    for (int j = 0; j < call.layerCount; ++j) {
      v += (j == 0 ? w : 1.0 - w) * 0.9 * call.vs[j];
      if (j + 1 < call.layerCount) v += 4.0 * w * (1.0 - w) * call.thickness[j];
    }
    call.phaseVelocity[i] = static_cast<float>(v);
  }
}

std::vector<float> curveOf(const std::vector<float>& params, void (*curve)(ForwardCall&)) {
  ForwardCall call;
  const int n = static_cast<int>(params.size()) / 3;
  call.layerCount = n;
  for (int j = 0; j < n; ++j) {
    call.vs[j] = params[j];
    call.thickness[j] = params[n + j];
    call.density[j] = params[2 * n + j];
  }
  call.freqCount = kFreqCount;
  const std::vector<float> f = frequencies();
  std::copy(f.begin(), f.end(), call.freq);
  curve(call);
  return {call.phaseVelocity, call.phaseVelocity + kFreqCount};
}

TEST(DampedInversionSetup, CreationSetsTheDefaultsAndRunsTheEngineOnce) {
  CurveFunctionEngine engine(offsetCurve(1.0f));
  const std::vector<float> f = frequencies();
  const std::vector<float> v = observedCurve();
  const std::vector<float> start = model({200.0f, 400.0f, 600.0f}, {2.0f, 3.0f, 0.0f});
  const int32_t sizes[] = {20, 10};
  const DampedInversion inversion(engine, 2, sizes, f.data(), v.data(), 6, start.data(), false);
  EXPECT_EQ(engine.runs, 1);
  EXPECT_EQ(inversion.dataCount(), 30);
  EXPECT_EQ(inversion.paramCount(), 6);
  EXPECT_FALSE(inversion.succeeded());
  EXPECT_EQ(inversion.messageText(), "");
  // Only the first group reaches the model.
  EXPECT_EQ(engine.calls[0].freqCount, 20);

  const int32_t oddLength = 7;
  CurveFunctionEngine second(offsetCurve(1.0f));
  const DampedInversion odd(second, 1, sizes, f.data(), v.data(), oddLength, start.data(), false);
  EXPECT_EQ(odd.paramCount(), 6);
}

TEST(DampedInversionSetup, BoundsOfTheWrongCountFallBackToTheWideDefaults) {
  const std::vector<float> start = model({1500.0f, 300.0f}, {2.0f, 8.0f});
  Solve solve(offsetCurve(0.0f), start);
  const float upper[] = {1000.0f, 1000.0f, 5.0f};
  const float lower[] = {50.0f, 50.0f, 0.1f};
  solve.inversion->setBounds(3, upper, lower);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(solve.inversion->upperBounds()[i], 100000.0f);
    EXPECT_EQ(solve.inversion->lowerBounds()[i], 0.001f);
  }
  ASSERT_TRUE(solve.inversion->solve());
  // Inside the wide bounds nothing is clamped.
  EXPECT_EQ(solve.engine.calls[1].vs[0], 1500.0f);
  EXPECT_EQ(solve.engine.calls[1].thickness[1], 8.0f);
}

TEST(DampedInversionSetup, WithoutSetBoundsTheWideBoundsHold) {
  CurveFunctionEngine engine(offsetCurve(0.0f));
  const std::vector<float> f = frequencies();
  const std::vector<float> v = observedCurve();
  const std::vector<float> start = model({1500.0f}, {0.05f});
  const int32_t sizes[] = {30};
  DampedInversion inversion(engine, 1, sizes, f.data(), v.data(), 2, start.data(), false);
  EXPECT_EQ(inversion.upperBounds()[1], 100000.0f);
  EXPECT_EQ(inversion.lowerBounds()[1], 0.001f);
  ASSERT_TRUE(inversion.solve());
  EXPECT_EQ(engine.calls[1].vs[0], 1500.0f);
  EXPECT_EQ(engine.calls[1].thickness[0], 0.05f);
}

TEST(DampedInversionExits, StartMisfitOfZeroEndsAtOnceWithIterationOne) {
  const std::vector<float> start = model({200.0f, 400.0f}, {3.0f, 1.0f});
  Solve solve(linearCurve, start, curveOf(start, linearCurve));
  EXPECT_TRUE(solve.inversion->solve());
  EXPECT_TRUE(solve.inversion->succeeded());
  EXPECT_EQ(solve.iteration(), 1);
  EXPECT_EQ(solve.finalMisfit(), 0.0f);
  EXPECT_EQ(solve.inversion->messageText(), "");
  EXPECT_EQ(solve.engine.runs, 2);  // creation and the start
  EXPECT_EQ(solve.params(), std::vector<float>(start.begin(), start.begin() + 4));
}

TEST(DampedInversionExits, MisfitEqualToTheToleranceIsAccepted) {
  // Residuals 3 and 4: misfit sqrt(25 / 4) = 2.5 exactly.
  const std::vector<float> observed = {103.0f, 96.0f};
  const auto curve = [](ForwardCall& call) {
    for (int i = 0; i < call.freqCount; ++i) call.phaseVelocity[i] = 100.0f;
  };
  const std::vector<float> start = model({200.0f}, {2.0f});
  Solve atTolerance(curve, start, observed);
  atTolerance.inversion->setControls(30, 2.5f);
  EXPECT_TRUE(atTolerance.inversion->solve());
  EXPECT_EQ(atTolerance.iteration(), 1);
  EXPECT_EQ(atTolerance.finalMisfit(), 2.5f);
  EXPECT_EQ(atTolerance.engine.runs, 2);

  Solve above(curve, start, observed);
  above.inversion->setControls(30, 2.4999f);
  above.inversion->solve();
  EXPECT_GT(above.engine.runs, 2);
}

TEST(DampedInversionExits, OutOfBoundStartIsClampedToTheMiddleOfTheBounds) {
  const std::vector<float> start = model({1500.0f, 20.0f}, {7.0f, 0.05f});
  Solve solve(offsetCurve(0.0f), start);
  ASSERT_TRUE(solve.inversion->solve());
  const ForwardCall& call = solve.engine.calls[1];
  EXPECT_EQ(call.vs[0], 525.0f);
  EXPECT_EQ(call.vs[1], 525.0f);
  EXPECT_EQ(call.thickness[0], 2.55f);
  EXPECT_EQ(call.thickness[1], 2.55f);
  EXPECT_EQ(solve.params(), (std::vector<float>{525.0f, 525.0f, 2.55f, 2.55f}));
}

TEST(DampedInversionExits, LinearProblemConvergesWithTheExpectedEngineRuns) {
  const std::vector<float> truth = model({200.0f, 400.0f}, {3.0f, 1.0f});
  const std::vector<float> start = model({260.0f, 330.0f}, {2.0f, 1.0f});
  Solve solve(linearCurve, start, curveOf(truth, linearCurve));
  ASSERT_TRUE(solve.inversion->solve());
  EXPECT_EQ(solve.inversion->messageText(), "");
  const int iterations = solve.iteration();
  EXPECT_LE(iterations, 10);
  EXPECT_LT(solve.finalMisfit(), 0.001f);
  const std::vector<float> fitted = solve.params();
  EXPECT_NEAR(fitted[0], 200.0f, 0.05f);
  EXPECT_NEAR(fitted[1], 400.0f, 0.05f);
  EXPECT_NEAR(fitted[2], 3.0f, 0.01f);
  EXPECT_EQ(fitted[3], 1.0f);  // the half-space thickness never moves

  // A damped step of a linear problem never raises the misfit: per
  // iteration 4n - 1 sensitivity runs and one trial, a reload after each
  // iteration that does not end the solve, plus creation and start.
  const int n = 2;
  EXPECT_EQ(solve.engine.runs, 2 + iterations * (4 * n - 1 + 1) + (iterations - 1));
  // Messages run at the top of each iteration, before the decomposition
  // and after the trial.
  EXPECT_EQ(solve.pumps, 3 * iterations);
}

TEST(DampedInversionExits, NonFiniteSensitivitiesMakeTheDecompositionFail) {
  // The start fits badly but finitely; every perturbed model gives NaN.
  const auto curve = [](ForwardCall& call) {
    const bool perturbed = call.vs[0] != 100.0f;
    const std::vector<float> observed = observedCurve();
    for (int i = 0; i < call.freqCount; ++i) {
      call.phaseVelocity[i] =
          perturbed ? std::numeric_limits<float>::quiet_NaN() : observed[i] + 1.0f;
    }
  };
  Solve solve(curve, model({100.0f}, {2.0f}));
  EXPECT_FALSE(solve.inversion->solve());
  EXPECT_FALSE(solve.inversion->succeeded());
  EXPECT_EQ(solve.inversion->messageText(), "奇异值分解错误.");
  EXPECT_EQ(solve.engine.runs, 2 + 3);  // no trial was run
}

TEST(DampedInversionExits, NoParametersMeansRankZero) {
  Solve solve(offsetCurve(1.0f), {});
  EXPECT_EQ(solve.inversion->paramCount(), 0);
  EXPECT_FALSE(solve.inversion->solve());
  EXPECT_EQ(solve.inversion->messageText(), "灵敏度矩阵秩为零,可能是模型不正确.\n");
}

// The start is a strict minimum for every step but the tiny one of the
// sixth trial, while the central differences see a slope of 10 per m/s.
void sixTrialCurve(ForwardCall& call) {
  const double moved = std::fabs(call.vs[0] - 100.0);
  const double penalty = moved > 1e-3 && moved < 0.4 ? 50.0 : 0.0;
  const std::vector<float> observed = observedCurve();
  for (int i = 0; i < call.freqCount; ++i) {
    call.phaseVelocity[i] =
        static_cast<float>(observed[i] + 1.0 + 10.0 * (call.vs[0] - 100.0) + penalty);
  }
}

TEST(DampedInversionExits, SixthTrialEndsTheSolveEvenWhenItImproves) {
  Solve solve(sixTrialCurve, model({100.0f}, {2.0f}));
  EXPECT_FALSE(solve.inversion->solve());
  EXPECT_EQ(solve.inversion->messageText(), "Initial model not appropriate.");
  EXPECT_EQ(solve.inversion->dampingFactor(), 1562.5f);
  // Creation, start, 3 sensitivity runs, 6 trials and 5 reloads.
  ASSERT_EQ(solve.engine.runs, 16);

  const ForwardCall& sixth = solve.engine.calls.back();
  const double startMisfit = 1.0 / std::sqrt(2.0);
  EXPECT_LT(sixth.vs[0], 100.0f);
  EXPECT_NEAR(solve.finalMisfit(), misfitOf(sixth, observedCurve()), 1e-6);
  EXPECT_LT(solve.finalMisfit(), startMisfit);
  // Each rejected trial was followed by a reload of the start model.
  for (int trial = 0; trial < 5; ++trial) {
    EXPECT_EQ(solve.engine.calls[5 + 2 * trial + 1].vs[0], 100.0f) << trial;
    EXPECT_NE(solve.engine.calls[5 + 2 * trial].vs[0], 100.0f) << trial;
  }
}

// Two layers whose curve grows exponentially in both velocities and in the
// top thickness, each term on its own frequency pattern. Far above the fit
// every Gauss-Newton step lowers each exponent by about one: 20 m/s per
// velocity and 0.12 m of thickness, so from exponents of 35 the fit is out
// of reach in 30 iterations while the misfit falls steadily.
void exponentialCurve(ForwardCall& call) {
  const double e0 = std::exp((call.vs[0] - 100.0) / 20.0);
  const double e1 = std::exp((call.vs[1] - 100.0) / 20.0);
  const double eh = std::exp((call.thickness[0] - 0.1) / 0.12);
  for (int i = 0; i < call.freqCount; ++i) {
    const double w = call.freq[i] / 150.0;
    call.phaseVelocity[i] =
        static_cast<float>(100.0 + w * e0 + (1.0 - w) * e1 + w * (1.0 - w) * eh);
  }
}

TEST(DampedInversionExits, IterationLimitCountsOnePastTheLimitAndStillSucceeds) {
  const std::vector<float> start = model({800.0f, 790.0f}, {4.3f, 1.0f});
  const std::vector<float> observed(kFreqCount, 103.0f);
  Solve solve(exponentialCurve, start, observed);
  EXPECT_TRUE(solve.inversion->solve());
  EXPECT_EQ(solve.iteration(), 31);
  EXPECT_EQ(solve.inversion->messageText(), "迭代次数超限.\n");
  // Every iteration: 7 sensitivity runs, one trial, one reload.
  EXPECT_EQ(solve.engine.runs, 2 + 30 * 9);
  // The misfit of the last accepted trial (the run before the last reload).
  const ForwardCall& lastTrial = solve.engine.calls[solve.engine.calls.size() - 2];
  EXPECT_NEAR(solve.finalMisfit(), misfitOf(lastTrial, observed), 1e-5 * solve.finalMisfit());
  const std::vector<float> fitted = solve.params();
  EXPECT_NEAR(fitted[0], 800.0f - 30 * 20.0f, 30.0f);
  EXPECT_NEAR(fitted[2], 4.3f - 30 * 0.12f, 0.2f);
  EXPECT_EQ(fitted[3], 1.0f);  // the half-space thickness never moves
}

TEST(DampedInversionExits, FirstFailedEngineRunEndsTheSolve) {
  const std::vector<float> truth = model({200.0f, 400.0f}, {3.0f, 1.0f});
  const std::vector<float> start = model({260.0f, 330.0f}, {2.0f, 1.0f});
  // 1 creation, 2 start, 3..9 sensitivities, 10 first trial, 11 reload
  // after the first accepted iteration, 12 the next baseline.
  for (int failing : {2, 3, 6, 9, 10, 11, 12}) {
    SCOPED_TRACE(failing);
    Solve solve(linearCurve, start, curveOf(truth, linearCurve));
    solve.engine.failFromRun = failing;
    EXPECT_FALSE(solve.inversion->solve());
    EXPECT_EQ(solve.engine.runs, failing);  // nothing ran after the failure
    EXPECT_EQ(solve.engine.failures, 1);
    EXPECT_EQ(solve.inversion->messageText(), DampedInversion::kEngineFailed);
  }
}

TEST(DampedInversionExits, FailedRunAtCreationEndsTheSolveBeforeAnyOtherRun) {
  CurveFunctionEngine engine(linearCurve);
  engine.failAtRun = 1;
  const std::vector<float> f = frequencies();
  const std::vector<float> v = observedCurve();
  const std::vector<float> start = model({200.0f}, {2.0f});
  const int32_t sizes[] = {30};
  DampedInversion inversion(engine, 1, sizes, f.data(), v.data(), 2, start.data(), false);
  EXPECT_FALSE(inversion.solve());
  EXPECT_EQ(engine.runs, 1);
  EXPECT_EQ(inversion.messageText(), DampedInversion::kEngineFailed);
}

TEST(DampedInversionExits, FailedReloadAfterARejectedTrialEndsTheSolve) {
  Solve solve(sixTrialCurve, model({100.0f}, {2.0f}));
  solve.engine.failFromRun = 7;  // the reload after the first rejected trial
  EXPECT_FALSE(solve.inversion->solve());
  EXPECT_EQ(solve.engine.runs, 7);
  EXPECT_EQ(solve.inversion->messageText(), DampedInversion::kEngineFailed);
}

TEST(DampedInversionExits, MoreDataThanTheModelHoldsIsRefused) {
  CurveFunctionEngine engine(offsetCurve(1.0f));
  const std::vector<float> f(60, 10.0f);
  const std::vector<float> v(60, 100.0f);
  const std::vector<float> start = model({200.0f}, {2.0f});
  const int32_t sizes[] = {60};
  DampedInversion inversion(engine, 1, sizes, f.data(), v.data(), 2, start.data(), false);
  EXPECT_FALSE(inversion.solve());
  EXPECT_EQ(engine.runs, 0);
  EXPECT_EQ(inversion.messageText(), DampedInversion::kTooLarge);
}

// Progress of the linear problem: the start as iteration 0, then every
// accepted iteration in turn, each misfit no higher than the one before (a
// trial that raises it is never accepted), and the last one the result's.
TEST(DampedInversionProgress, FollowsEveryAcceptedIterationWithoutChangingTheSolve) {
  const std::vector<float> truth = model({200.0f, 400.0f}, {3.0f, 1.0f});
  const std::vector<float> start = model({260.0f, 330.0f}, {2.0f, 1.0f});
  Solve watched(linearCurve, start, curveOf(truth, linearCurve));
  std::vector<std::pair<int32_t, float>> seen;
  watched.inversion->setProgress(
      [&seen](int32_t iteration, float misfit) { seen.emplace_back(iteration, misfit); });
  ASSERT_TRUE(watched.inversion->solve());

  ASSERT_GE(seen.size(), 2u);
  // The start's misfit from the start's curve (the second engine run), in
  // double: float sums of 30 squares agree to a few ulps, 1e-5 relative.
  const double startMisfit = misfitOf(watched.engine.calls[1], watched.vr);
  EXPECT_EQ(seen[0].first, 0);
  EXPECT_NEAR(seen[0].second, startMisfit, 1e-5 * startMisfit);
  for (std::size_t k = 1; k < seen.size(); ++k) {
    SCOPED_TRACE(testing::Message() << "report " << k);
    EXPECT_EQ(seen[k].first, static_cast<int32_t>(k));
    EXPECT_LE(seen[k].second, seen[k - 1].second);
  }
  EXPECT_EQ(seen.back().first, watched.iteration());
  EXPECT_EQ(seen.back().second, watched.finalMisfit());

  // The same solve unwatched ends bit for bit alike.
  Solve unwatched(linearCurve, start, curveOf(truth, linearCurve));
  ASSERT_TRUE(unwatched.inversion->solve());
  EXPECT_EQ(unwatched.finalMisfit(), watched.finalMisfit());
  EXPECT_EQ(unwatched.params(), watched.params());
  EXPECT_EQ(unwatched.engine.runs, watched.engine.runs);
}

}  // namespace

}  // namespace dispfit
