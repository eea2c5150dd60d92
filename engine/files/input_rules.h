// SPDX-License-Identifier: GPL-3.0-or-later
// What a model and an observed curve read from a file must satisfy before any
// run starts, whichever program reads them and in whichever layout. Every
// value goes into the engine in single precision, so each one must still be
// finite there, and those that must be positive must not round to 0.
//
// Units as the files hold them: m, m/s, g/cm3, Hz.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace swcore {

// How many layers (the half-space included) and data a program can take.
struct InputLimits {
  std::int64_t maxLayers = 0;
  std::int64_t maxData = 0;
};

// m/s. The engine looks for phase velocities below 10 km/s only, so a layer
// or an observed velocity at or above it cannot be fitted or even computed:
// near-surface shear velocities stay far below it.
inline constexpr double kVelocityCeiling = 10000.0;

enum class LayerQuantity { Thickness, ShearVelocity, Density, PVelocity };
enum class DatumQuantity {
  Frequency,
  Wavelength,
  Period,
  Velocity,
  Deviation,
  LowBound,
  HighBound
};

// Each returns what is wrong ("51 layers (from 1 to 50 can be used)"), or an
// empty text when the count or value can be used.
std::string layerCountFault(std::int64_t count, const InputLimits& limits);
std::string dataCountFault(std::int64_t count, const InputLimits& limits);

// The layer count of a table whose rows, one a layer, stand on `lines` of
// `sourceName`, as layerCountFault has it: "<source>, line <n>: <what>" at
// the first row beyond the limit, "<source>: <what>" for a table of no row,
// or an empty text when the count can be used.
std::string layerRowsFault(std::span<const std::size_t> lines, const std::string& sourceName,
                           const InputLimits& limits);

// `layer` and `datum` count from 0; `halfSpace` says the layer is the last.
// A thickness must not be negative (the half-space's is not used and only
// has to be a number); S and P velocity, density and frequency must be
// positive, and so must a wavelength or period given for the frequency; S
// velocity and observed velocity must lie below
// kVelocityCeiling; an observed velocity, its standard deviation and its
// bounds must not be negative.
std::string layerValueFault(LayerQuantity quantity, std::size_t layer, bool halfSpace,
                            double value);
std::string datumValueFault(DatumQuantity quantity, std::size_t datum, double value);

}  // namespace swcore
