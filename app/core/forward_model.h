// SPDX-License-Identifier: GPL-3.0-or-later
// One layered model and one frequency list in the fixed-capacity,
// single-precision form the engine expects, with the operations the
// inversion needs. The record owns no storage; the engine it runs on is the
// caller's.
#pragma once

#include <cstdint>

#include "core/forward_engine.h"

namespace dispfit {

class ForwardModel {
 public:
  static constexpr int kLayerCapacity = 50;
  static constexpr int kFreqCapacity = 50;
  static constexpr int kParamCapacity = 50;

  // Creation with a mode only; the inversion fills the rest.
  ForwardModel(ForwardEngine& engine, bool logMode);

  // Creation from the main window's data.
  ForwardModel(ForwardEngine& engine, int32_t freqCount, const float* freq, int32_t layerCount,
               const float* vs, const float* thickness, const float* density, bool logMode);

  // Computes vrCalc through the engine. Returns true when the engine produced
  // a curve; on failure the engine seam has reported it and vrCalc is unchanged.
  bool runForward();

  // Copies vrCalc[0 .. freqCount-1] into destination.
  void copyVrCalc(float* destination) const;

  // --- Operations of the inversion -------------------------------------
  // Parameter vector: vs[0..n-1], thickness[0..n-1], density[0..n-1].

  void setData(int32_t groupCount, const int32_t* groupSizes, const float* frequencies,
               const float* observed);
  bool loadParams(int32_t length, const float* params);
  void getParams(int32_t& length, float* params) const;
  bool applyStep(const float* step);
  void weightedResiduals(float* residuals, const float* weights) const;
  float misfit(const float* weights) const;
  bool computeSensitivity(const float* weights);

  bool logMode = false;
  int32_t layerCount = 0;
  float thickness[kLayerCapacity] = {};
  float vs[kLayerCapacity] = {};
  float density[kLayerCapacity] = {};
  int32_t freqCount = 0;
  float freq[kFreqCapacity] = {};
  float vrCalc[kFreqCapacity] = {};
  float vrObs[kFreqCapacity] = {};
  float sensitivity[kFreqCapacity][kParamCapacity] = {};

 private:
  ForwardEngine* engine_;
};

}  // namespace dispfit
