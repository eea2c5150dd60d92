// SPDX-License-Identifier: GPL-3.0-or-later
#include "inversion/inversion_bounds.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "core/number_text.h"

namespace dispfit {

namespace {

constexpr double kAtBound = 1e-5;
// The room a widened bound leaves beyond the start's values.
constexpr double kRoom = 1.5;
// The highest Vs bound a widening gives: below the engine's 10 km/s.
constexpr double kHighestVelocityBound = 9990.0;

struct Quantity {
  const char* name;    // "Vs", "thickness"
  const char* unit;    // "m/s", "m"
  const char* option;  // "--vs-bounds"
  double step;         // a widened bound's resolution: 10 m/s, 0.1 m
  double highest;      // the highest bound a widening gives
  Figure figure;       // how a start's value is written: to 0.1 m/s, 0.01 m
};

// `value` rounded up to a whole number of steps; 1e-9 keeps a value already
// on a step (1.5 x 2 = 3.0000000000000004) from going up one more.
double roundedUp(double value, double step) {
  return std::ceil(value / step - 1e-9) * step;
}

// Clips the first `count` values into [lower, upper], a note for each.
void clip(std::vector<float>& values, std::size_t count, float lower, float upper,
          const Quantity& q, std::vector<std::string>& notes) {
  for (std::size_t i = 0; i < count; ++i) {
    const float clipped = std::clamp(values[i], lower, upper);
    if (clipped == values[i]) continue;
    notes.push_back("layer " + std::to_string(i + 1) + "'s suggested " + q.name + " " +
                    roundedText(values[i], q.figure) + " " + q.unit + " clipped to the " +
                    (clipped == upper ? "upper" : "lower") + " bound " + exactText(clipped) + " " +
                    q.unit + " you gave (" + q.option + " is kept as given)");
    values[i] = clipped;
  }
}

// Widens [lower, upper] to hold the first `count` values, with a note.
void widen(std::vector<float>& values, std::size_t count, float& lower, float& upper,
           const Quantity& q, std::vector<std::string>& notes) {
  const auto [least, most] = std::minmax_element(values.begin(), values.begin() + count);
  if (*least >= lower && *most <= upper) return;
  const float oldLower = lower;
  const float oldUpper = upper;
  if (*most > upper) {
    upper = static_cast<float>(std::min(roundedUp(kRoom * *most, q.step), q.highest));
  }
  if (*least < lower) {
    const double wanted = *least / kRoom;
    lower = static_cast<float>(wanted >= q.step ? std::floor(wanted / q.step) * q.step : wanted);
  }
  notes.push_back(std::string(q.name) + " bounds widened from the defaults " + exactText(oldLower) +
                  "-" + exactText(oldUpper) + " " + q.unit + " to " + exactText(lower) + "-" +
                  exactText(upper) + " " + q.unit + " to hold the suggested start (" +
                  roundedText(*least, q.figure) + " to " + roundedText(*most, q.figure) + " " +
                  q.unit + "); " + q.option + " sets bounds that are kept");
  // A Vs widening capped below 10 km/s may still leave a value beyond it.
  for (std::size_t i = 0; i < count; ++i) values[i] = std::clamp(values[i], lower, upper);
}

void agree(std::vector<float>& values, std::size_t count, float& lower, float& upper, bool chosen,
           const Quantity& q, std::vector<std::string>& notes) {
  if (count == 0) return;
  if (chosen) {
    clip(values, count, lower, upper, q, notes);
  } else {
    widen(values, count, lower, upper, q, notes);
  }
}

}  // namespace

StartAgreement agreeStartWithBounds(ParsedLayers start, InversionLimits limits, bool vsBoundsChosen,
                                    bool thicknessBoundsChosen) {
  StartAgreement agreement;
  const auto layers = static_cast<std::size_t>(start.count());
  agree(start.vs, layers, limits.vsLower, limits.vsUpper, vsBoundsChosen,
        {"Vs", "m/s", "--vs-bounds", 10.0, kHighestVelocityBound, Figure::Velocity},
        agreement.notes);
  // The half-space's thickness is no parameter.
  agree(start.thickness, layers == 0 ? 0 : layers - 1, limits.thicknessLower, limits.thicknessUpper,
        thicknessBoundsChosen, {"thickness", "m", "--h-bounds", 0.1, 1e6, Figure::Length},
        agreement.notes);
  agreement.start = std::move(start);
  agreement.limits = limits;
  return agreement;
}

std::vector<std::string> startOutsideBounds(const ParsedLayers& start,
                                            const InversionLimits& limits) {
  std::vector<std::string> notes;
  const auto check = [&](int layer, const char* name, const char* unit, Figure figure, float value,
                         float lower, float upper) {
    if (value >= lower && value <= upper) return;
    const double middle = 0.5 * (static_cast<double>(lower) + upper);
    notes.push_back("layer " + std::to_string(layer) + "'s starting " + name + " " +
                    roundedText(value, figure) + " " + unit + " lies outside the bounds " +
                    exactText(lower) + "-" + exactText(upper) + " " + unit +
                    ": the inversion begins it mid-range, at " + roundedText(middle, figure) + " " +
                    unit);
  };
  for (int i = 0; i < start.count(); ++i) {
    const auto layer = static_cast<std::size_t>(i);
    check(i + 1, "Vs", "m/s", Figure::Velocity, start.vs[layer], limits.vsLower, limits.vsUpper);
    if (i + 1 < start.count()) {
      check(i + 1, "thickness", "m", Figure::Length, start.thickness[layer], limits.thicknessLower,
            limits.thicknessUpper);
    }
  }
  return notes;
}

std::vector<ParameterAtBound> parametersAtBounds(const ParsedLayers& model,
                                                 const InversionLimits& limits) {
  std::vector<ParameterAtBound> found;
  const auto near = [](float value, float bound) {
    return std::fabs(value - bound) <= kAtBound * std::fabs(bound);
  };
  for (int i = 0; i < model.count(); ++i) {
    const auto layer = static_cast<std::size_t>(i);
    const float vs = model.vs[layer];
    if (near(vs, limits.vsLower)) found.push_back({i + 1, false, false, vs, limits.vsLower});
    if (near(vs, limits.vsUpper)) found.push_back({i + 1, false, true, vs, limits.vsUpper});
    if (i + 1 == model.count()) continue;  // the half-space's thickness is no parameter
    const float h = model.thickness[layer];
    if (near(h, limits.thicknessLower)) {
      found.push_back({i + 1, true, false, h, limits.thicknessLower});
    }
    if (near(h, limits.thicknessUpper)) {
      found.push_back({i + 1, true, true, h, limits.thicknessUpper});
    }
  }
  return found;
}

std::string atBoundText(const ParameterAtBound& at) {
  const std::string value = at.thickness ? figureText(at.value, Figure::Length) + " m"
                                         : figureText(at.value, Figure::Velocity) + " m/s";
  return "layer " + std::to_string(at.layer) + (at.thickness ? " thickness " : " Vs ") + value +
         " is at its " + (at.upper ? "upper" : "lower") + " bound " + exactText(at.bound) +
         (at.thickness ? " m" : " m/s");
}

}  // namespace dispfit
