// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/axis_ticks.h"

#include <cmath>
#include <initializer_list>

namespace dispfit {

namespace {

// A tick that lands within a millionth of the interval outside an end still
// counts as inside: the ends are themselves results of arithmetic (150 Hz
// from 5 x 30) and a round value equal to an end must get its label.
constexpr double kEndSlack = 1e-6;

// The next round interval below `interval`: 5 -> 2 -> 1 -> 0.5 -> ...
double smallerRoundInterval(double interval) {
  const double decade = std::pow(10.0, std::floor(std::log10(interval) + kEndSlack));
  const double mantissa = interval / decade;
  if (mantissa > 4.0) return 2.0 * decade;
  if (mantissa > 1.5) return decade;
  return 0.5 * decade;
}

std::vector<double> multiplesInside(double lowest, double highest, double interval) {
  std::vector<double> values;
  const double slack = kEndSlack * interval;
  for (double k = std::ceil((lowest - slack) / interval); k * interval <= highest + slack; ++k) {
    values.push_back(k * interval == 0.0 ? 0.0 : k * interval);  // no "-0"
  }
  return values;
}

std::vector<double> decadeMultiplesInside(double lowest, double highest,
                                          std::initializer_list<double> mantissas) {
  std::vector<double> values;
  const double slack = 1.0 + kEndSlack;
  for (double exponent = std::floor(std::log10(lowest));
       std::pow(10.0, exponent) <= highest * slack; ++exponent) {
    const double decade = std::pow(10.0, exponent);
    for (const double m : mantissas) {
      // 2 x 10^-1 as 0.2, not 0.20000000000000001: labels print the value.
      const double value = exponent < 0 ? m / std::pow(10.0, -exponent) : m * decade;
      if (value >= lowest / slack && value <= highest * slack) values.push_back(value);
    }
  }
  return values;
}

}  // namespace

double roundTickInterval(double span, int wantedIntervals) {
  if (!(span > 0.0) || !std::isfinite(span) || wantedIntervals < 1) return 1.0;
  const double raw = span / wantedIntervals;
  const double decade = std::pow(10.0, std::floor(std::log10(raw)));
  for (const double factor : {1.0, 2.0, 5.0}) {
    if (raw <= factor * decade) return factor * decade;
  }
  return 10.0 * decade;
}

LinearTicks linearTicks(double lowest, double highest) {
  LinearTicks ticks;
  if (!std::isfinite(lowest) || !std::isfinite(highest) || !(highest > lowest)) return ticks;
  ticks.interval = roundTickInterval(highest - lowest);
  ticks.values = multiplesInside(lowest, highest, ticks.interval);
  while (static_cast<int>(ticks.values.size()) < kLeastTicks) {
    ticks.interval = smallerRoundInterval(ticks.interval);
    ticks.values = multiplesInside(lowest, highest, ticks.interval);
  }
  return ticks;
}

std::vector<double> logarithmicTicks(double lowest, double highest) {
  if (!(lowest > 0.0) || !std::isfinite(highest) || !(highest > lowest)) return {};
  constexpr int kMostTicks = 10;
  for (const std::initializer_list<double> mantissas :
       {std::initializer_list<double>{1.0}, {1.0, 2.0, 5.0}, {1, 2, 3, 4, 5, 6, 7, 8, 9}}) {
    std::vector<double> values = decadeMultiplesInside(lowest, highest, mantissas);
    if (static_cast<int>(values.size()) >= kLeastTicks &&
        (static_cast<int>(values.size()) <= kMostTicks || mantissas.size() == 1)) {
      return values;
    }
  }
  return linearTicks(lowest, highest).values;
}

}  // namespace dispfit
