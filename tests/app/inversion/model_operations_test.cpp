// SPDX-License-Identifier: GPL-3.0-or-later
// ForwardModel's inversion operations on an analytic stand-in engine whose
// curve is linear in the velocities and quadratic in the thicknesses, so the
// central differences have exact analytic counterparts.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "core/forward_model.h"
#include "curve_function_engine.h"

namespace dispfit {

namespace {

constexpr float kDelta = 0.005f;

double velocityWeight(int i, int j) {
  return 0.1 * (j + 1) + 0.01 * i;
}
double thicknessWeight(int i, int j) {
  return 0.5 + 0.02 * i * (j + 1);
}

// v_i = sum_j a_ij vs_j + sum_j b_ij h_j^2 (the half-space thickness included,
// so moving it would show).
void analyticCurve(ForwardCall& call) {
  for (int i = 0; i < call.freqCount; ++i) {
    double v = 0.0;
    for (int j = 0; j < call.layerCount; ++j) {
      v += velocityWeight(i, j) * call.vs[j];
      v += thicknessWeight(i, j) * call.thickness[j] * call.thickness[j];
    }
    call.phaseVelocity[i] = static_cast<float>(v);
  }
}

struct Layers {
  std::vector<float> params;  // vs, thickness, density
  int n = 0;
};

Layers makeLayers(int n) {
  Layers layers;
  layers.n = n;
  layers.params.resize(3 * static_cast<size_t>(n));
  for (int j = 0; j < n; ++j) {
    layers.params[j] = 150.0f + 37.5f * static_cast<float>(j);
    layers.params[n + j] = 0.7f + 0.3f * static_cast<float>(j);
    layers.params[2 * n + j] = 1.8f + 0.05f * static_cast<float>(j);
  }
  return layers;
}

std::vector<float> frequencies(int count) {
  std::vector<float> f(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) f[i] = 150.0f - 5.0f * static_cast<float>(i);
  return f;
}

class ModelOperations : public ::testing::Test {
 protected:
  void prepare(int layers, int freqCount = 30) {
    layers_ = makeLayers(layers);
    freq_ = frequencies(freqCount);
    observed_.assign(static_cast<size_t>(freqCount), 300.0f);
    weights_.assign(static_cast<size_t>(freqCount), 1.0f);
    const int32_t sizes[] = {freqCount};
    model_.setData(1, sizes, freq_.data(), observed_.data());
    ASSERT_TRUE(model_.loadParams(2 * layers, layers_.params.data()));
    engine_.runs = 0;
    engine_.calls.clear();
  }

  CurveFunctionEngine engine_{analyticCurve};
  ForwardModel model_{engine_, false};
  Layers layers_;
  std::vector<float> freq_;
  std::vector<float> observed_;
  std::vector<float> weights_;
};

TEST_F(ModelOperations, SetDataKeepsOnlyTheFirstGroupAndRunsNothing) {
  const std::vector<float> f = frequencies(12);
  std::vector<float> observed(12);
  for (int i = 0; i < 12; ++i) observed[i] = 200.0f + static_cast<float>(i);
  const int32_t sizes[] = {7, 5};
  model_.setData(2, sizes, f.data(), observed.data());
  EXPECT_EQ(model_.freqCount, 7);
  for (int i = 0; i < 7; ++i) {
    EXPECT_EQ(model_.freq[i], f[i]);
    EXPECT_EQ(model_.vrObs[i], observed[i]);
  }
  EXPECT_EQ(model_.vrObs[7], 0.0f);
  EXPECT_EQ(engine_.runs, 0);
}

TEST_F(ModelOperations, ParameterVectorGoesInAndComesBackWithOneRun) {
  prepare(3);
  ASSERT_EQ(engine_.runs, 0);
  const Layers other = makeLayers(4);
  // An odd length rounds down: 9 entries describe 4 layers.
  ASSERT_TRUE(model_.loadParams(9, other.params.data()));
  EXPECT_EQ(engine_.runs, 1);
  EXPECT_EQ(model_.layerCount, 4);
  const ForwardCall& call = engine_.calls.back();
  EXPECT_EQ(call.layerCount, 4);
  for (int j = 0; j < 4; ++j) {
    EXPECT_EQ(call.vs[j], other.params[j]);
    EXPECT_EQ(call.thickness[j], other.params[4 + j]);
    EXPECT_EQ(call.density[j], other.params[8 + j]);
  }

  std::vector<float> back(12, -1.0f);
  int32_t length = 0;
  model_.getParams(length, back.data());
  EXPECT_EQ(length, 8);
  EXPECT_EQ(back, other.params);
  EXPECT_EQ(engine_.runs, 1);
}

TEST_F(ModelOperations, StepMovesVelocitiesAndThicknessesButNotTheHalfSpace) {
  prepare(3);
  const std::vector<float> step = {1.5f, -2.0f, 10.0f, 0.25f, -0.125f, 3.0f};
  ASSERT_TRUE(model_.applyStep(step.data()));
  EXPECT_EQ(engine_.runs, 1);
  for (int j = 0; j < 3; ++j) EXPECT_EQ(model_.vs[j], layers_.params[j] + step[j]);
  EXPECT_EQ(model_.thickness[0], layers_.params[3] + 0.25f);
  EXPECT_EQ(model_.thickness[1], layers_.params[4] - 0.125f);
  EXPECT_EQ(model_.thickness[2], layers_.params[5]);  // half-space
  for (int j = 0; j < 3; ++j) EXPECT_EQ(model_.density[j], layers_.params[6 + j]);
  // The curve is that of the stepped model.
  ForwardCall expected = engine_.calls.back();
  analyticCurve(expected);
  EXPECT_EQ(model_.vrCalc[0], expected.phaseVelocity[0]);
}

TEST_F(ModelOperations, ResidualsAndMisfitFollowTheirDefinitions) {
  model_.freqCount = 2;
  model_.vrObs[0] = 103.0f;
  model_.vrCalc[0] = 100.0f;
  model_.vrObs[1] = 96.0f;
  model_.vrCalc[1] = 100.0f;
  const float unit[] = {1.0f, 1.0f};
  float residuals[2] = {};
  model_.weightedResiduals(residuals, unit);
  EXPECT_EQ(residuals[0], 3.0f);
  EXPECT_EQ(residuals[1], -4.0f);
  // sqrt((9 + 16) / (2 * 2)) = 2.5: the rms residual divided by sqrt 2.
  EXPECT_EQ(model_.misfit(unit), 2.5f);

  const float weights[] = {2.0f, 0.5f};
  model_.weightedResiduals(residuals, weights);
  EXPECT_EQ(residuals[0], 6.0f);
  EXPECT_EQ(residuals[1], -2.0f);
  EXPECT_FLOAT_EQ(model_.misfit(weights), std::sqrt(40.0f / 4.0f));
  EXPECT_EQ(engine_.runs, 0);
}

TEST_F(ModelOperations, MisfitOfTheObservedCurveItselfIsExactlyZero) {
  prepare(3);
  std::copy_n(model_.vrCalc, model_.freqCount, model_.vrObs);
  EXPECT_EQ(model_.misfit(weights_.data()), 0.0f);
}

TEST_F(ModelOperations, MisfitAccumulatesInSinglePrecision) {
  // Each 1e-8 added to 1 is lost in single precision; in double the 49 of
  // them would move the result by about three units in the last place.
  model_.freqCount = 50;
  for (int i = 0; i < 50; ++i) {
    model_.vrObs[i] = 0.0f;
    model_.vrCalc[i] = i == 0 ? 1.0f : 1.0e-4f;
  }
  const std::vector<float> unit(50, 1.0f);
  EXPECT_EQ(model_.misfit(unit.data()), 0.1f);
}

TEST_F(ModelOperations, SensitivityCostsFourNMinusOneRunsAndMatchesTheDerivative) {
  for (int n : {1, 3, 20}) {
    SCOPED_TRACE(n);
    prepare(n);
    ASSERT_TRUE(model_.computeSensitivity(weights_.data()));
    EXPECT_EQ(engine_.runs, 4 * n - 1);
    for (int i = 0; i < model_.freqCount; ++i) {
      // Both curve values carry a rounding error of up to one unit in the
      // last place of the curve; the difference divides it by 2 delta p.
      const double curveUlp = std::fabs(model_.vrCalc[i]) * 1.2e-7;
      const auto bound = [&](double derivative, float p) {
        return 2.0 * curveUlp / (2.0 * kDelta * p) + 1e-4 * derivative;
      };
      for (int j = 0; j < n; ++j) {
        const float vs = layers_.params[j];
        const double dVs = velocityWeight(i, j);
        EXPECT_NEAR(model_.sensitivity[i][j], dVs, bound(dVs, vs)) << i << ", " << j;
        if (j == n - 1) continue;
        const float h = layers_.params[n + j];
        const double dH = 2.0 * thicknessWeight(i, j) * h;
        EXPECT_NEAR(model_.sensitivity[i][n + j], dH, bound(dH, h)) << i << ", " << j;
      }
      EXPECT_EQ(model_.sensitivity[i][2 * n - 1], 0.0f);
    }
  }
}

TEST_F(ModelOperations, SensitivityPerturbsOneFreeParameterAtATimeAndRestoresTheModel) {
  const int n = 4;
  prepare(n);
  ForwardModel before = model_;
  ASSERT_TRUE(model_.computeSensitivity(weights_.data()));

  EXPECT_EQ(std::memcmp(model_.vs, before.vs, sizeof before.vs), 0);
  EXPECT_EQ(std::memcmp(model_.thickness, before.thickness, sizeof before.thickness), 0);
  EXPECT_EQ(std::memcmp(model_.density, before.density, sizeof before.density), 0);
  EXPECT_EQ(model_.layerCount, n);
  ForwardCall current = engine_.calls.front();
  analyticCurve(current);
  for (int i = 0; i < model_.freqCount; ++i) EXPECT_EQ(model_.vrCalc[i], current.phaseVelocity[i]);

  // Run 0 is the baseline, then (1 - delta) p and (1 + delta) p per parameter.
  ASSERT_EQ(engine_.calls.size(), 4u * n - 1);
  for (int p = 0; p < 2 * n - 1; ++p) {
    for (int side = 0; side < 2; ++side) {
      const ForwardCall& call = engine_.calls[1 + 2 * p + side];
      const double factor = side == 0 ? 1.0 - kDelta : 1.0 + kDelta;
      for (int j = 0; j < n; ++j) {
        const float vs = layers_.params[j];
        const float h = layers_.params[n + j];
        EXPECT_EQ(call.vs[j], p == j ? static_cast<float>(factor * vs) : vs);
        EXPECT_EQ(call.thickness[j], p == n + j ? static_cast<float>(factor * h) : h);
        EXPECT_EQ(call.density[j], layers_.params[2 * n + j]);
      }
    }
  }
}

TEST_F(ModelOperations, WeightsScaleTheSensitivityRows) {
  prepare(2);
  ASSERT_TRUE(model_.computeSensitivity(weights_.data()));
  float unweighted[ForwardModel::kFreqCapacity][ForwardModel::kParamCapacity];
  std::memcpy(unweighted, model_.sensitivity, sizeof unweighted);
  for (size_t i = 0; i < weights_.size(); ++i) weights_[i] = 0.5f + 0.1f * static_cast<float>(i);
  ASSERT_TRUE(model_.computeSensitivity(weights_.data()));
  for (int i = 0; i < model_.freqCount; ++i) {
    for (int p = 0; p < 3; ++p) {
      EXPECT_FLOAT_EQ(model_.sensitivity[i][p], unweighted[i][p] * weights_[i]);
    }
  }
}

TEST_F(ModelOperations, FailedRunsAreReportedAndLeaveTheModelAsItWas) {
  const int n = 3;
  for (int failing : {1, 2, 5, 10}) {
    SCOPED_TRACE(failing);
    prepare(n);
    ForwardModel before = model_;
    model_.vrCalc[0] = -7.0f;  // marks what the record held before the call
    engine_.failAtRun = failing;
    EXPECT_FALSE(model_.computeSensitivity(weights_.data()));
    engine_.failAtRun = 0;
    EXPECT_EQ(engine_.runs, failing);
    EXPECT_EQ(std::memcmp(model_.vs, before.vs, sizeof before.vs), 0);
    EXPECT_EQ(std::memcmp(model_.thickness, before.thickness, sizeof before.thickness), 0);
    if (failing == 1) {
      EXPECT_EQ(model_.vrCalc[0], -7.0f);  // no curve was computed
    } else {
      EXPECT_EQ(model_.vrCalc[0], before.vrCalc[0]);  // the baseline
    }
  }

  prepare(n);
  const float held = model_.vrCalc[3];
  engine_.failAtRun = 1;
  const std::vector<float> step(2 * n, 1.0f);
  EXPECT_FALSE(model_.applyStep(step.data()));
  EXPECT_EQ(model_.vrCalc[3], held);
  engine_.failAtRun = 2;
  EXPECT_FALSE(model_.loadParams(2 * n, layers_.params.data()));
  EXPECT_EQ(model_.vrCalc[3], held);
}

}  // namespace

}  // namespace dispfit
