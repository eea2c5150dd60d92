// SPDX-License-Identifier: GPL-3.0-or-later
#include "shots/ridge_picking.h"

#include <algorithm>
#include <cmath>

namespace dispfit {
namespace {

struct Span {
  std::size_t first = 0;
  std::size_t last = 0;  // included
};

// The grid cells of [low, high] on the steps, clipped to them; empty when
// nothing lies inside (first > last).
Span cellsBetween(const EvenSteps& steps, double low, double high) {
  const double top = double(steps.count() - 1);
  const double a = std::clamp(std::ceil((low - steps.first) / steps.step - 1e-9), 0.0, top + 1.0);
  const double b = std::clamp(std::floor((high - steps.first) / steps.step + 1e-9), -1.0, top);
  if (b < a) return {1, 0};
  return {static_cast<std::size_t>(a), static_cast<std::size_t>(b)};
}

// The peak of row i inside `span`, if it is a true one.
std::optional<Pick> peakIn(const DispersionImage& image, std::size_t i, Span span, double weakest) {
  if (span.first > span.last) return std::nullopt;
  std::size_t best = span.first;
  for (std::size_t l = span.first; l <= span.last; ++l) {
    if (image.at(i, l) > image.at(i, best)) best = l;
  }
  const double centre = image.at(i, best);
  if (best == span.first || best == span.last || centre < weakest) return std::nullopt;
  const double below = image.at(i, best - 1);
  const double above = image.at(i, best + 1);
  if (!(centre > below && centre >= above)) return std::nullopt;
  // The vertex of the parabola through the three cells, within half a cell.
  const double curvature = below - 2.0 * centre + above;
  const double shift = curvature < 0.0 ? 0.5 * (below - above) / curvature : 0.0;
  const EvenSteps& v = image.grid.velocity;
  return Pick{image.grid.frequency.at(i), v.at(best) + shift * v.step, centre, true};
}

}  // namespace

std::vector<Pick> followRidge(const DispersionImage& image, const PickingRules& rules,
                              const ArrayLimits& limits) {
  const EvenSteps& f = image.grid.frequency;
  const EvenSteps& v = image.grid.velocity;
  const double lowV = rules.lowestVelocity.value_or(v.first);
  const double highV = rules.highestVelocity.value_or(v.at(image.velocityCount - 1));
  const Span band = cellsBetween(f, rules.lowestFrequency.value_or(f.first),
                                 rules.highestFrequency.value_or(f.at(image.frequencyCount - 1)));
  const Span window = cellsBetween(v, lowV, highV);
  if (band.first > band.last || window.first > window.last) return {};

  std::optional<Pick> seed;
  std::size_t seedRow = (band.first + band.last) / 2;
  if (rules.seed) {
    const double row = std::round((rules.seed->frequency - f.first) / f.step);
    seedRow = static_cast<std::size_t>(std::clamp(row, double(band.first), double(band.last)));
    const double c = rules.seed->velocity;
    seed = peakIn(image, seedRow,
                  cellsBetween(v, std::max(lowV, c * (1.0 - rules.largestChange)),
                               std::min(highV, c * (1.0 + rules.largestChange))),
                  0.0);
  } else {
    // The row of the middle half of the band whose peak stands out most
    // above its mean: a noisy row's peaks are many and low, the ridge's one
    // and sharp, so a noisy band's middle does not seed the walk on noise.
    const std::size_t quarter = (band.last - band.first) / 4;
    double sharpest = -1.0;
    for (std::size_t i = band.first + quarter; i <= band.last - quarter; ++i) {
      double sum = 0.0;
      double largest = 0.0;
      for (std::size_t l = window.first; l <= window.last; ++l) {
        sum += image.at(i, l);
        largest = std::max(largest, image.at(i, l));
      }
      const double mean = sum / double(window.last - window.first + 1);
      const double sharpness = mean > 0.0 ? largest / mean : 0.0;
      if (sharpness > sharpest && peakIn(image, i, window, 0.0)) {
        sharpest = sharpness;
        seedRow = i;
      }
    }
    seed = peakIn(image, seedRow, window, 0.0);
  }
  if (!seed) return {};

  std::vector<Pick> picks{*seed};
  for (const int direction : {+1, -1}) {
    double last = seed->velocity;
    std::size_t misses = 0;
    for (std::size_t i = seedRow;;) {
      if (direction > 0 ? i == band.last : i == band.first) break;
      i = direction > 0 ? i + 1 : i - 1;
      const Span search = cellsBetween(v, std::max(lowV, last * (1.0 - rules.largestChange)),
                                       std::min(highV, last * (1.0 + rules.largestChange)));
      if (const std::optional<Pick> pick = peakIn(image, i, search, rules.weakest)) {
        picks.push_back(*pick);
        last = pick->velocity;
        misses = 0;
      } else if (++misses > rules.missesAllowed) {
        break;
      }
    }
  }
  std::sort(picks.begin(), picks.end(),
            [](const Pick& a, const Pick& b) { return a.frequency < b.frequency; });
  for (Pick& pick : picks) pick.insideLimits = limits.holds(pick.frequency, pick.velocity);
  return picks;
}

}  // namespace dispfit
