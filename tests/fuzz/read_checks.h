// SPDX-License-Identifier: GPL-3.0-or-later
// What every accepted curve and model of the other programs' readers holds,
// for their fuzz targets.
#pragma once

#include <cmath>
#include <cstddef>

#include "files/curve_file.h"
#include "files/model_file.h"
#include "memory_file.h"

namespace fuzz {

// Every datum a positive finite velocity, a line and, when given, a mode and
// a deviation; bands for all or none, low not above high.
inline void requireUsableCurve(const swcore::CurveFile& curve) {
  const std::size_t count = curve.velocity.size();
  require(count > 0 && curve.line.size() == count);
  require(curve.mode.empty() || curve.mode.size() == count);
  require(curve.deviation.empty() || curve.deviation.size() == count);
  require(curve.lowBound.size() == curve.highBound.size());
  require(curve.lowBound.empty() || curve.lowBound.size() == count);
  for (std::size_t i = 0; i < count; ++i) {
    require(std::isfinite(curve.velocity[i]) && curve.velocity[i] > 0.0);
    if (!curve.lowBound.empty()) require(curve.lowBound[i] <= curve.highBound[i]);
  }
}

// 1 to `mostLayers` layers, each with a positive finite Vs, Vp and density
// and a thickness not negative (the half-space's aside).
inline void requireUsableModel(const swcore::ModelFile& model, std::size_t mostLayers) {
  const std::size_t layers = model.shearVelocity.size();
  require(layers >= 1 && layers <= mostLayers);
  require(model.thickness.size() == layers && model.density.size() == layers);
  require(model.pVelocity.size() == layers);
  for (std::size_t i = 0; i < layers; ++i) {
    require(std::isfinite(model.shearVelocity[i]) && model.shearVelocity[i] > 0.0);
    require(std::isfinite(model.density[i]) && model.density[i] > 0.0);
    require(std::isfinite(model.pVelocity[i]) && model.pVelocity[i] > 0.0);
    if (i + 1 < layers) require(model.thickness[i] >= 0.0);
  }
}

}  // namespace fuzz
