// SPDX-License-Identifier: GPL-3.0-or-later
// The site of the shot-record tests: three layers over a half-space, its
// fundamental Rayleigh mode from the curve core, and synthetic records of
// a 24-receiver array (2 m spacing) from sources at several offsets.
#pragma once

#include <cmath>
#include <vector>

#include "shots/synthetic_record.h"

namespace dispfit_test {

inline std::vector<swcore::ModelLayer> siteModel() {
  return {{4.0, 160.0, 1800.0, std::nullopt},
          {6.0, 260.0, 1900.0, std::nullopt},
          {10.0, 380.0, 2000.0, std::nullopt},
          {0.0, 600.0, 2100.0, std::nullopt}};
}

// The fundamental mode from 1 to 150 Hz every 0.25 Hz.
inline dispfit::ModalCurve siteFundamental(double amplitude = 1.0) {
  const std::vector<swcore::ModelLayer> model = siteModel();
  return dispfit::fundamentalModeCurve(model, 1.0, 150.0, 597, amplitude);
}

// Receivers from 0 m every 2 m; the source `offset` m before the first
// (negative: after the last, a reverse shot).
inline dispfit::SyntheticShot siteShot(double offset, double noise = 0.0, std::uint64_t seed = 1) {
  dispfit::SyntheticShot shot;
  for (int j = 0; j < 24; ++j) shot.receiverPositions.push_back(2.0 * j);
  shot.sourcePosition = offset >= 0.0 ? -offset : 46.0 - offset;
  shot.sampleInterval = 0.001;
  shot.sampleCount = 1500;
  shot.peakFrequency = 30.0;
  shot.waveletDelay = 0.04;
  shot.noiseLevel = noise;
  shot.seed = seed;
  return shot;
}

}  // namespace dispfit_test
