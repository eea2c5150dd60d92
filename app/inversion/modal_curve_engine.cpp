// SPDX-License-Identifier: GPL-3.0-or-later
#include "inversion/modal_curve_engine.h"

namespace dispfit {

namespace {

// g/cm3 to kg/m3, the core's unit; only ratios of densities matter to it.
constexpr double kKilogramsPerCubicMetrePerGramPerCubicCentimetre = 1000.0;

}  // namespace

ModalCurveEngine::ModalCurveEngine(std::span<const double> frequencies,
                                   std::span<const int> modes) {
  for (std::size_t i = 0; i < frequencies.size() && i < modes.size(); ++i) {
    modesAt_[static_cast<float>(frequencies[i])].push_back(modes[i]);
  }
}

bool ModalCurveEngine::run(ForwardCall& call) {
  const auto layers = static_cast<std::size_t>(call.layerCount);
  layers_.resize(layers);
  for (std::size_t i = 0; i < layers; ++i) {
    layers_[i] = {i + 1 < layers ? call.thickness[i] : 1.0, call.vs[i],
                  call.density[i] * kKilogramsPerCubicMetrePerGramPerCubicCentimetre,
                  3.0 * call.vs[i]};
  }
  const auto count = static_cast<std::size_t>(call.freqCount);
  frequencies_.assign(call.freq, call.freq + count);
  modes_.assign(count, swcore::kAnyMode);
  std::map<float, std::size_t> seen;
  for (std::size_t j = 0; j < count; ++j) {
    const auto known = modesAt_.find(call.freq[j]);
    const std::size_t occurrence = seen[call.freq[j]]++;
    if (known != modesAt_.end() && occurrence < known->second.size()) {
      modes_[j] = known->second[occurrence];
    }
  }
  points_.resize(count);
  if (solver_.computeWithModes(layers_, frequencies_, modes_, {swcore::ForwardRule::lowestRoot},
                               points_) != swcore::CurveStatus::ok) {
    return false;
  }
  for (std::size_t j = 0; j < count; ++j) {
    call.phaseVelocity[j] = static_cast<float>(
        points_[j].hasRoot ? points_[j].phaseVelocity : static_cast<double>(call.vs[layers - 1]));
  }
  return true;
}

std::optional<ModalCurveEngine> modalEngineFor(std::span<const MeasuredPoint> points) {
  if (!namesModes(points)) return std::nullopt;
  std::vector<double> frequencies;
  std::vector<int> modes;
  for (const MeasuredPoint& point : points) {
    frequencies.push_back(point.frequency);
    modes.push_back(point.mode.value_or(swcore::kAnyMode));
  }
  return ModalCurveEngine(frequencies, modes);
}

}  // namespace dispfit
