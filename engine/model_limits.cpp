#include "model_limits.h"

#include <string>

namespace swcore {

namespace {

constexpr double kRunningMaxStart = 0.0;
constexpr double kRunningMinStart = 100000.0;

void unpack(InversionState& inv, std::span<const double> freeParameters) {
  std::size_t k = 0;
  for (int32_t i = 0; i < inv.NP; ++i) {
    if (inv.IFIX[i] == 0 && k < freeParameters.size()) {
      inv.PAR[i] = freeParameters[k++];
    }
  }
}

void repack(EngineState& state, std::span<double> freeParameters) {
  InversionState& inv = state.inversion;
  for (int32_t i = 0; i < state.layerCount; ++i) {
    inv.PAR[2 * i] = state.shearVelocity[i];
    inv.PAR[2 * i + 1] = state.thickness[i];
  }
  std::size_t k = 0;
  for (int32_t i = 0; i < inv.NP; ++i) {
    if (inv.IFIX[i] == 0 && k < freeParameters.size()) {
      freeParameters[k++] = inv.PAR[i];
    }
  }
}

void modelFromParameters(EngineState& state) {
  for (int32_t i = 0; i < state.layerCount; ++i) {
    state.shearVelocity[i] = state.inversion.PAR[2 * i];
    state.thickness[i] = state.inversion.PAR[2 * i + 1];
  }
}

void resetThicknessExtremes(InversionState& inv) {
  inv.thickestThickness = kRunningMaxStart;
  inv.thinnestThickness = kRunningMinStart;
}

// Fastest and slowest layer among 2 .. N-1; ties go to the later layer.
void findVelocityExtremes(EngineState& state) {
  InversionState& inv = state.inversion;
  double fastest = kRunningMaxStart;
  double slowest = kRunningMinStart;
  for (int32_t i = 1; i < state.layerCount - 1; ++i) {
    const double v = state.shearVelocity[i];
    if (v >= fastest) {
      fastest = v;
      inv.fastestLayer = i;
    }
    if (v <= slowest) {
      slowest = v;
      inv.slowestLayer = i;
    }
  }
}

// D and V, updating the running thickness extremes on the same scan.
DepthAndMeanVelocity scanLayersAbove(EngineState& state) {
  InversionState& inv = state.inversion;
  double depth = 0.0;
  double weighted = 0.0;
  for (int32_t i = 0; i < state.layerCount - 1; ++i) {
    const double h = state.thickness[i];
    depth += h;
    weighted += state.shearVelocity[i] * h;
    if (h >= inv.thickestThickness) {
      inv.thickestThickness = h;
      inv.thickestLayer = i;
    }
    if (h <= inv.thinnestThickness) {
      inv.thinnestThickness = h;
      inv.thinnestLayer = i;
    }
  }
  return {depth, weighted / depth};
}

// The general case, three or more layers: one nudge per pass until the model
// lies inside all four bounds.
bool adjustLayered(EngineState& state, RecordWriter& console) {
  InversionState& inv = state.inversion;
  bool rescanVelocities = true;
  for (std::int64_t pass = 0; pass < kMaxBoundsPasses; ++pass) {
    if (rescanVelocities) {
      findVelocityExtremes(state);
      resetThicknessExtremes(inv);
    }
    const DepthAndMeanVelocity dv = scanLayersAbove(state);
    if (dv.depth >= inv.HU) {
      state.thickness[inv.thickestLayer] -= kThicknessNudge;
      resetThicknessExtremes(inv);
      rescanVelocities = false;
    } else if (dv.depth <= inv.HL) {
      state.thickness[inv.thinnestLayer] += kThicknessNudge;
      resetThicknessExtremes(inv);
      rescanVelocities = false;
    } else if (dv.meanVelocity >= inv.BU) {
      state.shearVelocity[inv.fastestLayer] -= kVelocityNudge;
      rescanVelocities = true;
    } else if (dv.meanVelocity <= inv.BL) {
      state.shearVelocity[inv.slowestLayer] += kVelocityNudge;
      rescanVelocities = true;
    } else {
      return true;
    }
  }
  console.write("MODLIM: the model could not be brought within the bounds in " +
                std::to_string(kMaxBoundsPasses) +
                " passes; check HL < HU and BL < BU and the layer thicknesses");
  return false;
}

// Two layers: each rule applied once, without repeating.
void adjustTwoLayers(EngineState& state) {
  const InversionState& inv = state.inversion;
  const DepthAndMeanVelocity dv = depthAndMeanVelocity(state);
  if (state.thickness[0] >= inv.HU) {
    state.thickness[0] -= kThicknessNudge;
  }
  if (state.thickness[0] <= inv.HL) {
    state.thickness[0] += kThicknessNudge;
  }
  if (dv.meanVelocity >= inv.BU) {
    state.shearVelocity[1] -= kHalfSpaceVelocityNudge;
  }
  if (dv.meanVelocity <= inv.BL) {
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

bool MODLIM(EngineState& state, std::span<double> freeParameters, RecordWriter& console) {
  InversionState& inv = state.inversion;
  if (!layerCountInRange(state.layerCount) || inv.NP < 0 || inv.NP > kMaxParameters) {
    console.write("MODLIM: layer or parameter count out of range");
    return false;
  }
  unpack(inv, freeParameters);
  console.write(Record().add(std::span<const double>(inv.PAR, static_cast<std::size_t>(inv.NP))));
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
