// SPDX-License-Identifier: GPL-3.0-or-later
// The inversion's operations on ForwardModel: parameter vector in and out,
// steps, residuals, misfit and the central-difference sensitivity matrix.
// Values are single precision; each expression is evaluated in double and
// rounded once when stored, and sums accumulate in a float.
#include <algorithm>
#include <cmath>

#include "core/forward_model.h"
#include "core/single_precision.h"

namespace dispfit {

namespace {

constexpr float kRelativePerturbation = 0.005f;

int32_t clampCount(int32_t count, int capacity) {
  return std::clamp(count, int32_t{0}, static_cast<int32_t>(capacity));
}

}  // namespace

void ForwardModel::setData(int32_t groupCount, const int32_t* groupSizes, const float* frequencies,
                           const float* observed) {
  freqCount = groupCount >= 1 ? clampCount(groupSizes[0], kFreqCapacity) : 0;
  std::copy_n(frequencies, freqCount, freq);
  std::copy_n(observed, freqCount, vrObs);
}

bool ForwardModel::loadParams(int32_t length, const float* params) {
  const int32_t n = clampCount(length / 2, kLayerCapacity);
  layerCount = n;
  for (int32_t i = 0; i < n; ++i) {
    vs[i] = params[i];
    thickness[i] = params[n + i];
    density[i] = params[2 * n + i];
  }
  return runForward();
}

void ForwardModel::getParams(int32_t& length, float* params) const {
  const int32_t n = layerCount;
  length = 2 * n;
  std::copy_n(vs, n, params);
  std::copy_n(thickness, n, params + n);
  std::copy_n(density, n, params + 2 * n);
}

bool ForwardModel::applyStep(const float* step) {
  const int32_t n = layerCount;
  for (int32_t i = 0; i < n; ++i) vs[i] += step[i];
  // The half-space thickness (the last one) is carried but never stepped.
  for (int32_t i = 0; i + 1 < n; ++i) thickness[i] += step[n + i];
  return runForward();
}

void ForwardModel::weightedResiduals(float* residuals, const float* weights) const {
  for (int32_t i = 0; i < freqCount; ++i) {
    residuals[i] =
        stored((static_cast<double>(vrObs[i]) - vrCalc[i]) * static_cast<double>(weights[i]));
  }
}

float ForwardModel::misfit(const float* weights) const {
  if (freqCount <= 0) return 0.0f;  // no data, nothing to miss
  float sum = 0.0f;
  for (int32_t i = 0; i < freqCount; ++i) {
    const float e =
        stored((static_cast<double>(vrObs[i]) - vrCalc[i]) * static_cast<double>(weights[i]));
    sum = stored(sum + static_cast<double>(e) * e);
  }
  return stored(std::sqrt(static_cast<double>(sum) / (2.0 * freqCount)));
}

bool ForwardModel::computeSensitivity(const float* weights) {
  const int32_t n = layerCount;
  const int32_t parameters = 2 * n;
  if (parameters > kParamCapacity) return false;

  if (!runForward()) return false;
  float baseline[kFreqCapacity];
  float lower[kFreqCapacity];
  std::copy_n(vrCalc, freqCount, baseline);

  const double delta = kRelativePerturbation;
  // Every parameter but the last: the half-space thickness stays fixed.
  for (int32_t p = 0; p + 1 < parameters; ++p) {
    float& value = p < n ? vs[p] : thickness[p - n];
    const float original = value;

    value = stored((1.0 - delta) * original);
    bool ran = runForward();
    if (ran) {
      std::copy_n(vrCalc, freqCount, lower);
      value = stored((1.0 + delta) * original);
      ran = runForward();
    }
    value = original;
    if (!ran) {
      std::copy_n(baseline, freqCount, vrCalc);
      return false;
    }
    const double divisor = 2.0 * delta * original;
    for (int32_t i = 0; i < freqCount; ++i) {
      sensitivity[i][p] = stored((static_cast<double>(vrCalc[i]) - lower[i]) / divisor *
                                 static_cast<double>(weights[i]));
    }
  }
  if (parameters > 0) {
    for (int32_t i = 0; i < freqCount; ++i) sensitivity[i][parameters - 1] = 0.0f;
  }
  std::copy_n(baseline, freqCount, vrCalc);
  return true;
}

}  // namespace dispfit
