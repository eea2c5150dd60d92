// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/batch_run.h"

#include <vector>

#include "batch/batch_files.h"
#include "batch/batch_output.h"
#include "dispersion/forward_entry.h"

namespace swcore {

namespace {

void announceSettings(EngineState& state, const BatchSettings& settings,
                      const RecordWriter& console) {
  console.write("INPUT KK=");
  state.KK = settings.KK;
  console.write("KPG=");
  state.KPG = settings.KPG;
  console.write("BL=,BU=");
  state.BL = settings.BL;
  state.BU = settings.BU;
  console.write("HL=,HU=");
  state.HL = settings.HL;
  state.HU = settings.HU;
  console.write("EA=");
  state.EA = settings.EA;
}

// The model in engine units, its parameters in PAR, and the data set.
void storeRunData(EngineState& state, const ModelFile& model, const CurveFile& curve) {
  const auto n = static_cast<int32_t>(model.shearVelocity.size());
  state.layerCount = n;
  for (int32_t i = 0; i < n; ++i) {
    const auto u = static_cast<std::size_t>(i);
    state.thickness[i] = model.thickness[u] / 1000.0;
    state.shearVelocity[i] = model.shearVelocity[u] / 1000.0;
    state.RHOIN[i] = model.density[u];
    state.PAR[2 * i] = state.shearVelocity[i];
    state.PAR[2 * i + 1] = state.thickness[i];
  }
  state.M = static_cast<int32_t>(curve.frequency.size());
  for (int32_t j = 0; j < state.M; ++j) {
    state.FREQ[j] = curve.frequency[static_cast<std::size_t>(j)];
    state.VOBS[j] = curve.velocity[static_cast<std::size_t>(j)] / 1000.0;
  }
}

BatchResult failure(std::string message) {
  BatchResult result;
  result.error = std::move(message);
  return result;
}

// A run whose records did not reach the console has lost its report (the
// settings, the inversion's status): it fails before it replaces any file.
bool consoleLost(const RecordWriter& console, BatchResult& result) {
  if (console.flush()) {
    return false;
  }
  result.error = "the records could not be written to the console; no output written";
  return true;
}

// Forward run: the model's phase velocities at the file's frequencies, written
// back over FIT.TXT in its own layout.
BatchResult forwardRun(EngineState& state, const ModelFile& model, const CurveFile& curve,
                       const std::filesystem::path& directory, const RecordWriter& console) {
  const auto toSingle = [](const std::vector<double>& values) {
    return std::vector<float>(values.begin(), values.end());
  };
  const std::vector<float> thickness = toSingle(model.thickness);
  const std::vector<float> shearVelocity = toSingle(model.shearVelocity);
  const std::vector<float> density = toSingle(model.density);
  const std::vector<float> frequency = toSingle(curve.frequency);
  const int32_t m = state.M;
  std::vector<float> phaseVelocity(kMaxData, 0.0f);
  runForward(state, {state.layerCount, thickness.data(), shearVelocity.data(), density.data(), m,
                     frequency.data(), phaseVelocity.data()});
  ForwardCurve written;
  for (int32_t j = 0; j < m; ++j) {
    // The forward entry leaves the period in FREQ.
    written.frequency.push_back(static_cast<float>(1.0 / state.FREQ[j]));
    written.velocity.push_back(phaseVelocity[static_cast<std::size_t>(j)]);
  }
  BatchResult result;
  if (consoleLost(console, result)) {
    return result;
  }
  result.ok = writeForwardCurve(directory, written, result.error);
  return result;
}

BatchResult inversionRun(EngineState& state, const std::filesystem::path& directory,
                         const RecordWriter& console) {
  state.NP = 2 * state.layerCount;
  std::vector<int32_t> flags;
  std::string error;
  if (!readFixFlags(directory / kFixFlagsFileName, static_cast<std::size_t>(state.NP), flags,
                    error)) {
    return failure(error);
  }
  std::vector<double> x;
  for (int32_t i = 0; i < state.NP; ++i) {
    state.IFIX[i] = flags[static_cast<std::size_t>(i)];
    if (state.IFIX[i] == 0) {
      x.push_back(state.PAR[i]);
    }
  }
  if (x.empty()) {
    return failure(std::string(kFixFlagsFileName) +
                   ": every parameter is fixed, so there is nothing to invert");
  }
  const std::vector<double> initial = x;
  state.NF = static_cast<int32_t>(x.size());

  console.write(Record().add(state.BL).add(state.BU).add(state.HL).add(state.HU));
  console.write("INVERSION FOR RAYLEIGH WAVE DISPERSION");
  BatchResult result;
  result.inversion = DLSINV(state, x, 1.0, console);
  if (result.inversion.ISTAT == kStatusBoundsUnreachable) {
    return failure(
        "the trial model could not be brought within the depth and mean-velocity bounds "
        "(HL, HU, BL, BU); no output written");
  }
  console.write(
      Record().add(result.inversion.ISTAT).add(result.inversion.PHIOUT).add(result.inversion.ITER));
  console.write("PERIOD      THEORETICA VALUE      OBSERVED VALUE");

  InversionResult written;
  for (int32_t j = 0; j < state.M; ++j) {
    written.period.push_back(1.0 / state.FREQ[j]);
    written.fittedVelocity.push_back(state.velocity[j] * 1000.0);
    written.observedVelocity.push_back(state.VOBS[j] * 1000.0);
  }
  for (std::size_t k = 0; k < x.size(); ++k) {
    written.fittedParameter.push_back(x[k] * 1000.0);
    written.startingParameter.push_back(initial[k] * 1000.0);
  }
  if (consoleLost(console, result)) {
    return result;
  }
  result.ok = writeInversionResult(directory, written, result.error);
  return result;
}

}  // namespace

BatchResult INVRUN(EngineState& state, const BatchSettings& settings,
                   const std::filesystem::path& directory, const RecordWriter& console) {
  announceSettings(state, settings, console);
  ModelFile model;
  CurveFile curve;
  std::string error;
  if (!readModelFile(directory / kModelFileName, model, error) ||
      !readCurveFile(directory / kCurveFileName, curve, error)) {
    return failure(error);
  }
  storeRunData(state, model, curve);
  console.write(Record("L=").add(state.layerCount).add(" M=").add(state.M));
  if (settings.KK == 0) {
    return forwardRun(state, model, curve, directory, console);
  }
  return inversionRun(state, directory, console);
}

}  // namespace swcore
