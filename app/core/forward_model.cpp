// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/forward_model.h"

#include <algorithm>

namespace dispfit {

namespace {

int32_t clampCount(int32_t count, int capacity) {
  return std::clamp(count, int32_t{0}, static_cast<int32_t>(capacity));
}

}  // namespace

ForwardModel::ForwardModel(ForwardEngine& engine, bool mode) : logMode(mode), engine_(&engine) {}

ForwardModel::ForwardModel(ForwardEngine& engine, int32_t frequencyCount, const float* frequencies,
                           int32_t layers, const float* shearVelocity, const float* thicknesses,
                           const float* densities, bool mode)
    : logMode(mode), engine_(&engine) {
  freqCount = clampCount(frequencyCount, kFreqCapacity);
  std::copy_n(frequencies, freqCount, freq);
  layerCount = clampCount(layers, kLayerCapacity);
  std::copy_n(shearVelocity, layerCount, vs);
  std::copy_n(thicknesses, layerCount, thickness);
  std::copy_n(densities, layerCount, density);
}

bool ForwardModel::runForward() {
  ForwardCall call;
  call.layerCount = clampCount(layerCount, ForwardCall::kCapacity);
  std::copy_n(thickness, call.layerCount, call.thickness);
  std::copy_n(vs, call.layerCount, call.vs);
  std::copy_n(density, call.layerCount, call.density);
  call.freqCount = clampCount(freqCount, ForwardCall::kCapacity);
  std::copy_n(freq, call.freqCount, call.freq);

  if (!engine_->run(call)) return false;
  std::copy_n(call.phaseVelocity, call.freqCount, vrCalc);
  return true;
}

void ForwardModel::copyVrCalc(float* destination) const {
  std::copy_n(vrCalc, clampCount(freqCount, kFreqCapacity), destination);
}

}  // namespace dispfit
