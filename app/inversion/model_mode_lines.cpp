// SPDX-License-Identifier: GPL-3.0-or-later
#include "inversion/model_mode_lines.h"

#include <algorithm>
#include <cstddef>

#include "dispersion/dispersion_curve.h"

namespace dispfit {
namespace {

constexpr double kKilogramsPerCubicMetrePerGramPerCubicCentimetre = 1000.0;

// The lines of modes `first` to display.modes - 1 of one wave.
bool appendLines(std::span<const swcore::ModelLayer> model, std::span<const double> frequencies,
                 swcore::WaveType wave, int first, int modes, std::vector<ModeLine>& lines) {
  if (first >= modes) return true;
  const auto perFrequency = static_cast<std::size_t>(modes);
  std::vector<swcore::CurvePoint> points(frequencies.size() * perFrequency);
  swcore::DispersionCurveSolver solver;
  if (solver.computeModes(model, frequencies, {wave, modes, swcore::CurveKind::phase}, points) !=
      swcore::CurveStatus::ok) {
    return false;
  }
  for (std::size_t k = static_cast<std::size_t>(first); k < perFrequency; ++k) {
    ModeLine line{wave, static_cast<int>(k), {}, {}};
    for (std::size_t j = 0; j < frequencies.size(); ++j) {
      const swcore::CurvePoint& point = points[j * perFrequency + k];
      if (!point.hasRoot) continue;
      line.frequencies.push_back(frequencies[j]);
      line.velocities.push_back(point.phaseVelocity);
    }
    lines.push_back(std::move(line));
  }
  return true;
}

// The model in the curve core's units.
std::vector<swcore::ModelLayer> coreModel(std::span<const float> thickness,
                                          std::span<const float> vs,
                                          std::span<const float> density) {
  std::vector<swcore::ModelLayer> model;
  for (std::size_t i = 0; i < vs.size(); ++i) {
    model.push_back({thickness[i], vs[i],
                     density[i] * kKilogramsPerCubicMetrePerGramPerCubicCentimetre, std::nullopt});
  }
  return model;
}

}  // namespace

std::vector<ModeLine> modelModeLines(std::span<const float> thickness, std::span<const float> vs,
                                     std::span<const float> density,
                                     std::span<const double> frequencies,
                                     const ModeDisplay& display) {
  const std::vector<swcore::ModelLayer> model = coreModel(thickness, vs, density);
  std::vector<ModeLine> lines;
  if (frequencies.empty()) return lines;
  if (!appendLines(model, frequencies, swcore::WaveType::rayleigh, 1, display.modes, lines) ||
      (display.love &&
       !appendLines(model, frequencies, swcore::WaveType::love, 0, display.modes, lines))) {
    return {};
  }
  return lines;
}

std::vector<ModeLine> rayleighModeLines(std::span<const float> thickness, std::span<const float> vs,
                                        std::span<const float> density,
                                        std::span<const double> frequencies, int modes) {
  std::vector<ModeLine> lines;
  if (frequencies.empty() || modes < 1) return lines;
  if (!appendLines(coreModel(thickness, vs, density), frequencies, swcore::WaveType::rayleigh, 0,
                   std::min(modes, kMostDisplayedModes), lines)) {
    return {};
  }
  return lines;
}

std::string modeLineName(const ModeLine& line) {
  std::string name(1, line.wave == swcore::WaveType::love ? 'L' : 'R');
  name += std::to_string(line.mode);
  return name;
}

std::optional<std::size_t> modeLineNameIndex(const ModeLine& line) {
  if (line.velocities.empty()) return std::nullopt;
  return line.velocities.size() / 2;
}

}  // namespace dispfit
