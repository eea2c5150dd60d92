// SPDX-License-Identifier: GPL-3.0-or-later
#include "invert_options.h"

#include <cmath>
#include <cstdint>
#include <vector>

#include "argument_stream.h"
#include "core/number_text.h"
#include "core/window_limits.h"
#include "files/input_rules.h"

namespace dispfit {

namespace {

// A value of `text` that the inversion can hold as a bound.
bool positiveNumber(std::string_view option, std::string_view text, double& value,
                    std::string& error) {
  const std::optional<double> number = parseDecimal(text);
  if (!number) {
    error = ArgumentStream::notANumber(option, text);
    return false;
  }
  value = *number;
  // The inversion holds its bounds in single precision: a bound must stay a
  // positive finite number there.
  const auto single = static_cast<float>(value);
  if (!(single > 0.0f)) {
    error = std::string(option) + ": " + std::string(text) + " must be positive";
    return false;
  }
  if (!std::isfinite(single)) {
    error =
        std::string(option) + ": " + std::string(text) + " is beyond the single-precision range";
    return false;
  }
  return true;
}

// LO HI of a bounds option: positive numbers, LO below HI, HI below `ceiling`
// (none when 0).
bool bounds(ArgumentStream& in, std::string_view option, std::string_view unit, double ceiling,
            float& low, float& high, std::string& error) {
  std::string_view lowText;
  std::string_view highText;
  double lowValue = 0.0;
  double highValue = 0.0;
  if (!in.value(option, lowText, error) || !in.value(option, highText, error)) {
    error = std::string(option) + " needs two values, LO and HI (" + std::string(unit) + ")";
    return false;
  }
  if (!positiveNumber(option, lowText, lowValue, error) ||
      !positiveNumber(option, highText, highValue, error)) {
    return false;
  }
  low = static_cast<float>(lowValue);
  high = static_cast<float>(highValue);
  if (!(low < high)) {
    error = std::string(option) + ": LO " + std::string(lowText) + " must lie below HI " +
            std::string(highText);
    return false;
  }
  if (ceiling > 0.0 && highValue >= ceiling) {
    error = std::string(option) + ": HI " + std::string(highText) + " " + std::string(unit) +
            " must lie below " + exactText(ceiling) +
            " (the engine finds phase velocities below 10 km/s only)";
    return false;
  }
  return true;
}

// A whole number from `least` to `most` after `option`.
bool count(ArgumentStream& in, std::string_view option, std::int32_t least, std::int32_t most,
           std::int32_t& value, std::string& error) {
  std::int64_t read = 0;
  if (!in.whole(option, least, most, read, error)) return false;
  value = static_cast<std::int32_t>(read);
  return true;
}

// Most iterations an inversion may be given: each runs the engine once per
// parameter and trial, so even this many take minutes on 20 layers.
constexpr std::int32_t kMostIterations = kIterationCeiling;

bool option(ArgumentStream& in, std::string_view name, InvertCommand& command) {
  std::string& error = command.error;
  InversionLimits& limits = command.limits;
  if (name == "--vs-bounds") {
    command.vsBoundsGiven = true;
    return bounds(in, name, "m/s", swcore::kVelocityCeiling, limits.vsLower, limits.vsUpper, error);
  }
  if (name == "--h-bounds") {
    command.thicknessBoundsGiven = true;
    return bounds(in, name, "m", 0.0, limits.thicknessLower, limits.thicknessUpper, error);
  }
  if (name == "--iterations") {
    return count(in, name, 1, kMostIterations, limits.maxIterations, error);
  }
  if (name == "--suggest") {
    std::int32_t layers = 0;
    if (!count(in, name, 1, kWindowLayerLimit, layers, error)) return false;
    command.suggestedLayers = layers;
    return true;
  }
  if (name == "--vp" || name == "--poisson" || name == "--water-table") {
    double value = 0.0;
    if (!(name == "--poisson" ? in.real(name, value, error) : in.positive(name, value, error))) {
      return false;
    }
    (name == "--vp"        ? command.vpRule.fixed
     : name == "--poisson" ? command.vpRule.poisson
                           : command.vpRule.waterTable) = value;
    return true;
  }
  if (name == "--csv") {
    std::string prefix;
    if (!in.text(name, prefix, error)) return false;
    command.csvPrefix = std::move(prefix);
    return true;
  }
  bool handled = false;
  if (!exchangeOption(in, name, command.exchange, handled, error)) return false;
  if (handled) return true;
  error = unknownOption(name);
  return false;
}

InvertCommand failed(InvertCommand command) {
  command.action = InvertCommand::Action::Error;
  return command;
}

}  // namespace

InvertCommand parseInvertOptions(std::span<const std::string_view> arguments) {
  InvertCommand command;
  std::vector<std::string_view> files;
  ArgumentStream in(arguments);
  while (!in.empty()) {
    const std::string_view argument = in.next();
    if (ArgumentStream::isHelp(argument)) {
      command.action = InvertCommand::Action::Help;
      return command;
    }
    if (ArgumentStream::isOption(argument)) {
      if (!option(in, argument, command)) return failed(std::move(command));
      continue;
    }
    files.push_back(argument);
  }
  if (const std::string fault = vpRuleFault(command.vpRule, command.limits.vsUpper);
      !fault.empty()) {
    command.error = fault +
                    " (--vp, --poisson, --water-table; the highest Vs is that of "
                    "--vs-bounds)";
    return failed(std::move(command));
  }
  const std::size_t expected = command.suggestedLayers ? 1 : 2;
  if (files.size() != expected) {
    command.error = command.suggestedLayers
                        ? "with --suggest, expected one file, CURVE (see --help)"
                        : "expected two files, MODEL and CURVE (see --help)";
    return failed(std::move(command));
  }
  command.curvePath = std::string(files.back());
  if (!command.suggestedLayers) command.modelPath = std::string(files.front());
  return command;
}

}  // namespace dispfit

namespace dispfit {

std::string invertUsage() {
  const InversionLimits defaults;
  return "Usage: dispfit-invert [OPTIONS] MODEL CURVE\n"
         "       dispfit-invert [OPTIONS] --suggest N CURVE\n"
         "\n"
         "Inverts the dispersion curve in CURVE for the shear-wave velocities and the\n"
         "thicknesses of the layered model in MODEL (the starting model), as the invert\n"
         "button of DispFit does: bounded damped least squares, misfit tolerance 0.001,\n"
         "by default " +
         limitsText(defaults) +
         ".\n"
         "Prints the report (iterations, misfit, fitted layers), then the fit of the\n"
         "fitted curve to every measured point, VsZ for Z = 5, 10, 20 and 30 m, Vs30\n"
         "with its Eurocode 8 ground type and NEHRP site class.\n"
         "\n"
         "Options:\n"
         "  --vs-bounds LO HI   bounds of every layer's Vs, m/s (default " +
         exactText(defaults.vsLower) + " " + exactText(defaults.vsUpper) +
         ")\n"
         "  --h-bounds LO HI    bounds of every layer's thickness, m (default " +
         exactText(defaults.thicknessLower) + " " + exactText(defaults.thicknessUpper) +
         ")\n"
         "  --iterations N      iteration limit, N >= 1 (default " +
         std::to_string(defaults.maxIterations) +
         ")\n"
         "  --suggest N         start from a model of N layers (1 to 20, the half-space\n"
         "                      included) suggested by the curve instead of MODEL\n"
         "  --vp V              every layer's Vp, m/s, at least sqrt(2) times the upper\n"
         "                      Vs bound\n"
         "  --poisson NU        instead of --vp, every layer's Poisson's ratio (0 <= NU\n"
         "                      < 0.5): Vp = Vs sqrt((2 - 2 NU) / (1 - 2 NU))\n"
         "  --water-table Z     Vp at least 1500 m/s for the layers whose top lies at or\n"
         "                      below Z m\n"
         "                      With any of these the forward runs go through the curve\n"
         "                      core with each layer's Vp; without, through the engine's\n"
         "                      FORWARD with Vp = 3 Vs, as in the window.\n"
         "  --csv PREFIX        also write PREFIX_curve.csv (frequency, wavelength,\n"
         "                      measured, low, high, fitted velocity) and PREFIX_model.csv\n"
         "                      (layer, top, bottom, thickness, Vs, density)\n"
         "  -h, --help          this text\n"
         "  --version           the program's version\n"
         "LO must lie below HI; HI of --vs-bounds below 10000 m/s.\n"
         "\n"
         "MODEL  the number of layers (1 to 20, the half-space included), then one\n"
         "       line per layer, top first:  thickness(m)  Vs(m/s)  density(g/cm3)\n"
         "CURVE  the number of data (1 to 50), then one line per datum:\n"
         "       frequency(Hz)  phase velocity(m/s)\n"
         "\n"
         "Numbers are separated by blanks, commas or line breaks. Either file may\n"
         "instead be a table whose first line names its columns, one row per layer\n"
         "or datum, without a count:\n"
         "  thickness (m), Vs (m/s), density (g/cm3)[, Vp (m/s)]\n"
         "  frequency (Hz), velocity (m/s)[, sigma (m/s) | , low (m/s), high (m/s)]\n"
         "with values separated by blanks, tabs, commas or semicolons and '#'\n"
         "comments. A curve table may name wavelength (m) or period (s) instead of\n"
         "the frequency (converted with f = c / wavelength, f = 1 / T), and without a\n"
         "header its rows are read as frequency, velocity[, sigma | , low, high].\n"
         "Numbers take a full stop as decimal point. Thicknesses must not be\n"
         "negative, velocities, densities and frequencies must be positive, and\n"
         "velocities below 10000 m/s. A curve needs at least 3 points, no frequency\n"
         "twice, and not every velocity below 10 (km/s given for m/s). Its points are\n"
         "sorted by descending frequency; of a table with more than 50 points the\n"
         "inversion fits 50, evenly spaced in log frequency with both ends kept.\n"
         "What was done to the curve is said on the standard error stream. The engine\n"
         "library libswcore.so is loaded from beside the program.\n"
         "\n"
         "Misfits: the report's misfit is sqrt(sum r^2 / 2M) over the M fitted points\n"
         "(r the measured minus the computed velocity, m/s); the RMS misfit is the plain\n"
         "sqrt(sum r^2 / m) over every measured point with a computed velocity, m/s.\n"
         "\n"
         "Exit status: 0 when the report is printed, 1 when the inversion fails or its\n"
         "result is not a finite number (the reason goes to the standard error stream)\n"
         "or the report or a CSV file cannot be written, 2 for a usage or file error.\n";
}

}  // namespace dispfit
