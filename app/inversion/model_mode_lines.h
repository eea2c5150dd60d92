// SPDX-License-Identifier: GPL-3.0-or-later
// The lines of a model's modes on the window's charts: on the dispersion
// chart the higher Rayleigh modes and the Love modes of the table's model,
// at the chart's frequencies, each where the model carries it (the
// fundamental Rayleigh mode is the window's own curve, FORWARD, and not
// among them); over a dispersion image of shot records its Rayleigh modes
// from the fundamental up.
//
// The model as the window holds it: m, m/s, g/cm3, Vp = 3 Vs.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "dispersion/wave_type.h"

namespace dispfit {

// What the chart draws besides the fundamental Rayleigh mode: modes 0 to
// modes - 1, the higher Rayleigh ones (1 and up) and, with `love`, every one
// of Love waves.
struct ModeDisplay {
  int modes = 1;  // 1 to 10
  bool love = false;
};

inline constexpr int kMostDisplayedModes = 10;

struct ModeLine {
  swcore::WaveType wave = swcore::WaveType::rayleigh;
  int mode = 0;
  // Where the mode exists, in the order of `frequencies`.
  std::vector<double> frequencies;  // Hz
  std::vector<double> velocities;   // m/s
};

// The name a line is labelled with on the charts: R and the mode's number
// for Rayleigh waves (R1 their first higher mode), L and the number for
// Love waves (L0 their fundamental), as the literature writes them.
std::string modeLineName(const ModeLine& line);

// Where on its line the name goes: the point halfway along it, so that the
// names of the modes stand one above another at one frequency where the
// modes share it; none for an empty line.
std::optional<std::size_t> modeLineNameIndex(const ModeLine& line);

// The lines `display` asks for, Rayleigh modes first, each mode once even
// where it exists at no frequency (its line then empty); none when the
// curve core refuses the model (the window's own curve reports why).
std::vector<ModeLine> modelModeLines(std::span<const float> thickness, std::span<const float> vs,
                                     std::span<const float> density,
                                     std::span<const double> frequencies,
                                     const ModeDisplay& display);

// Rayleigh modes 0 to modes - 1 (1 to kMostDisplayedModes), each once as
// above; none when the curve core refuses the model.
std::vector<ModeLine> rayleighModeLines(std::span<const float> thickness, std::span<const float> vs,
                                        std::span<const float> density,
                                        std::span<const double> frequencies, int modes);

}  // namespace dispfit
