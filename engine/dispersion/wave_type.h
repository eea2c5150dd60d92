// SPDX-License-Identifier: GPL-3.0-or-later
// The two kinds of surface wave of a layered model.
#pragma once

namespace swcore {

// Rayleigh waves move in the vertical plane of propagation (P and SV
// motion); Love waves move horizontally, across it (SH motion), and see only
// the S velocities and densities.
enum class WaveType { rayleigh, love };

}  // namespace swcore
