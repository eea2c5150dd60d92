// SPDX-License-Identifier: GPL-3.0-or-later
#include "shots/offset_statistics.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace dispfit {
namespace {

struct Sample {
  double velocity = 0.0;
  double wavelength = 0.0;
};

CurveStatistic summary(const std::vector<Sample>& samples, const StatisticsRules& rules) {
  const double n = double(samples.size());
  double meanV = 0.0;
  double meanL = 0.0;
  for (const Sample& s : samples) {
    meanV += s.velocity / n;
    meanL += s.wavelength / n;
  }
  double squares = 0.0;
  for (const Sample& s : samples) squares += (s.velocity - meanV) * (s.velocity - meanV);
  const double sigma = std::sqrt(squares / (n - 1.0));
  return CurveStatistic{meanV / meanL, meanL, meanV, std::max(sigma, rules.sigmaFloor),
                        samples.size()};
}

}  // namespace

std::vector<CurveStatistic> combineOffsets(std::span<const OffsetPicks> offsets,
                                           const StatisticsRules& rules) {
  const std::size_t least = std::max<std::size_t>(rules.leastOffsets, 2);
  // Key: the frequency, or the wavelength bin's index; per offset one sample.
  std::map<double, std::vector<Sample>> groups;
  for (const OffsetPicks& offset : offsets) {
    std::map<double, std::vector<Sample>> own;
    for (const Pick& pick : offset.picks) {
      if (!pick.insideLimits) continue;
      const double wavelength = pick.velocity / pick.frequency;
      const double key = rules.domain == StatisticsDomain::frequency
                             ? pick.frequency
                             : std::floor(std::log10(wavelength) * double(rules.binsPerDecade));
      own[key].push_back({pick.velocity, wavelength});
    }
    for (const auto& [key, samples] : own) {
      Sample mean;
      for (const Sample& s : samples) {
        mean.velocity += s.velocity / double(samples.size());
        mean.wavelength += s.wavelength / double(samples.size());
      }
      groups[key].push_back(mean);
    }
  }
  std::vector<CurveStatistic> out;
  for (const auto& [key, samples] : groups) {
    if (samples.size() < least) continue;
    CurveStatistic statistic = summary(samples, rules);
    if (rules.domain == StatisticsDomain::frequency) statistic.frequency = key;
    statistic.wavelength = statistic.velocity / statistic.frequency;
    out.push_back(statistic);
  }
  std::sort(out.begin(), out.end(), [](const CurveStatistic& a, const CurveStatistic& b) {
    return a.frequency > b.frequency;
  });
  return out;
}

}  // namespace dispfit
