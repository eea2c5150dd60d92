// SPDX-License-Identifier: GPL-3.0-or-later
#include "inversion/model_limits.h"

#include <cstdio>

namespace swcore {

namespace {

constexpr double kRunningMaxStart = 0.0;
constexpr double kRunningMinStart = 100000.0;

void unpack(EngineState& state, std::span<const double> freeParameters) {
  std::size_t k = 0;
  for (int32_t i = 0; i < state.NP; ++i) {
    if (state.IFIX[i] == 0 && k < freeParameters.size()) {
      state.PAR[i] = freeParameters[k++];
    }
  }
}

void repack(EngineState& state, std::span<double> freeParameters) {
  for (int32_t i = 0; i < state.layerCount; ++i) {
    state.PAR[2 * i] = state.shearVelocity[i];
    state.PAR[2 * i + 1] = state.thickness[i];
  }
  std::size_t k = 0;
  for (int32_t i = 0; i < state.NP; ++i) {
    if (state.IFIX[i] == 0 && k < freeParameters.size()) {
      freeParameters[k++] = state.PAR[i];
    }
  }
}

void modelFromParameters(EngineState& state) {
  for (int32_t i = 0; i < state.layerCount; ++i) {
    state.shearVelocity[i] = state.PAR[2 * i];
    state.thickness[i] = state.PAR[2 * i + 1];
  }
}

void resetThicknessExtremes(EngineState& state) {
  state.thickestThickness = kRunningMaxStart;
  state.thinnestThickness = kRunningMinStart;
}

// Fastest and slowest layer among 2 .. N-1; ties go to the later layer.
void findVelocityExtremes(EngineState& state) {
  double fastest = kRunningMaxStart;
  double slowest = kRunningMinStart;
  for (int32_t i = 1; i < state.layerCount - 1; ++i) {
    const double v = state.shearVelocity[i];
    if (v >= fastest) {
      fastest = v;
      state.fastestLayer = i;
    }
    if (v <= slowest) {
      slowest = v;
      state.slowestLayer = i;
    }
  }
}

// D and V, updating the running thickness extremes on the same scan.
DepthAndMeanVelocity scanLayersAbove(EngineState& state) {
  double depth = 0.0;
  double weighted = 0.0;
  for (int32_t i = 0; i < state.layerCount - 1; ++i) {
    const double h = state.thickness[i];
    depth += h;
    weighted += state.shearVelocity[i] * h;
    if (h >= state.thickestThickness) {
      state.thickestThickness = h;
      state.thickestLayer = i;
    }
    if (h <= state.thinnestThickness) {
      state.thinnestThickness = h;
      state.thinnestLayer = i;
    }
  }
  return {depth, weighted / depth};
}

// The general case, three or more layers: one nudge per pass until the model
// lies inside all four bounds.
bool adjustLayered(EngineState& state, const RecordWriter& console) {
  bool rescanVelocities = true;
  for (std::int64_t pass = 0; pass < kMaxBoundsPasses; ++pass) {
    if (rescanVelocities) {
      findVelocityExtremes(state);
      resetThicknessExtremes(state);
    }
    const DepthAndMeanVelocity dv = scanLayersAbove(state);
    if (dv.depth >= state.HU) {
      state.thickness[state.thickestLayer] -= kThicknessNudge;
      resetThicknessExtremes(state);
      rescanVelocities = false;
    } else if (dv.depth <= state.HL) {
      state.thickness[state.thinnestLayer] += kThicknessNudge;
      resetThicknessExtremes(state);
      rescanVelocities = false;
    } else if (dv.meanVelocity >= state.BU) {
      state.shearVelocity[state.fastestLayer] -= kVelocityNudge;
      rescanVelocities = true;
    } else if (dv.meanVelocity <= state.BL) {
      state.shearVelocity[state.slowestLayer] += kVelocityNudge;
      rescanVelocities = true;
    } else {
      return true;
    }
  }
  char message[160];
  std::snprintf(message, sizeof message,
                "MODLIM: the model could not be brought within the bounds in %lld passes; "
                "check HL < HU and BL < BU and the layer thicknesses",
                static_cast<long long>(kMaxBoundsPasses));
  console.write(message);
  return false;
}

// Two layers: each rule applied once, without repeating.
void adjustTwoLayers(EngineState& state) {
  const DepthAndMeanVelocity dv = depthAndMeanVelocity(state);
  if (state.thickness[0] >= state.HU) {
    state.thickness[0] -= kThicknessNudge;
  }
  if (state.thickness[0] <= state.HL) {
    state.thickness[0] += kThicknessNudge;
  }
  if (dv.meanVelocity >= state.BU) {
    state.shearVelocity[1] -= kHalfSpaceVelocityNudge;
  }
  if (dv.meanVelocity <= state.BL) {
    state.shearVelocity[0] += kVelocityNudge;
  }
}

}  // namespace

DepthAndMeanVelocity depthAndMeanVelocity(const EngineState& state) {
  double depth = 0.0;
  double weighted = 0.0;
  for (int32_t i = 0; i < state.layerCount - 1; ++i) {
    depth += state.thickness[i];
    weighted += state.shearVelocity[i] * state.thickness[i];
  }
  return {depth, weighted / depth};
}

bool MODLIM(EngineState& state, std::span<double> freeParameters, const RecordWriter& console) {
  if (!layerCountInRange(state.layerCount) || state.NP < 0 || state.NP > kMaxParameters) {
    console.write("MODLIM: layer or parameter count out of range");
    return false;
  }
  unpack(state, freeParameters);
  console.write(
      Record().add(std::span<const double>(state.PAR, static_cast<std::size_t>(state.NP))));
  modelFromParameters(state);
  bool withinCap = true;
  if (state.layerCount >= 3) {
    withinCap = adjustLayered(state, console);
  } else if (state.layerCount == 2) {
    adjustTwoLayers(state);
  }
  repack(state, freeParameters);
  return withinCap;
}

}  // namespace swcore
