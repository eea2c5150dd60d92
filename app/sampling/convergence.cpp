// SPDX-License-Identifier: GPL-3.0-or-later
#include "sampling/convergence.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace dispfit {

namespace {

constexpr double kUnknown = std::numeric_limits<double>::quiet_NaN();

// R-hat of m sequences of n draws each from their means and variances.
double rhatOf(std::span<const double> means, std::span<const double> variances, double n) {
  const double m = static_cast<double>(means.size());
  double meanOfMeans = 0.0;
  for (const double mean : means) meanOfMeans += mean;
  meanOfMeans /= m;
  double between = 0.0;
  for (const double mean : means) between += (mean - meanOfMeans) * (mean - meanOfMeans);
  between *= n / (m - 1.0);
  double within = 0.0;
  for (const double v : variances) within += v;
  within /= m;
  if (!(within > 0.0)) return between > 0.0 ? std::numeric_limits<double>::infinity() : 1.0;
  const double pooled = (n - 1.0) / n * within + between / n;
  return std::sqrt(pooled / within);
}

void meanAndVariance(std::span<const double> draws, double& mean, double& variance) {
  mean = 0.0;
  for (const double x : draws) mean += x;
  mean /= static_cast<double>(draws.size());
  variance = 0.0;
  for (const double x : draws) variance += (x - mean) * (x - mean);
  variance /= static_cast<double>(draws.size() - 1);
}

}  // namespace

double splitRhat(std::span<const std::span<const double>> chains) {
  std::size_t n = std::numeric_limits<std::size_t>::max();
  for (const auto& chain : chains) n = std::min(n, chain.size() / 2);
  if (chains.empty() || n < 2) return kUnknown;
  std::vector<double> means;
  std::vector<double> variances;
  for (const auto& chain : chains) {
    // The two halves of the chain's last 2n draws.
    const std::span<const double> last = chain.subspan(chain.size() - 2 * n);
    for (const std::span<const double> half : {last.first(n), last.subspan(n)}) {
      double mean = 0.0;
      double variance = 0.0;
      meanAndVariance(half, mean, variance);
      means.push_back(mean);
      variances.push_back(variance);
    }
  }
  return rhatOf(means, variances, static_cast<double>(n));
}

double effectiveSampleSize(std::span<const std::span<const double>> chains,
                           std::size_t mostPerChain) {
  // Each chain thinned to at most mostPerChain draws, then cut in halves as
  // for R-hat.
  std::vector<std::vector<double>> sequences;
  std::size_t total = 0;
  std::size_t stride = 1;
  for (const auto& chain : chains) {
    total += chain.size();
    stride = std::max(stride,
                      (chain.size() + mostPerChain - 1) / std::max<std::size_t>(mostPerChain, 1));
  }
  std::size_t n = std::numeric_limits<std::size_t>::max();
  for (const auto& chain : chains) {
    std::vector<double> thinned;
    for (std::size_t i = 0; i < chain.size(); i += stride) thinned.push_back(chain[i]);
    const std::size_t half = thinned.size() / 2;
    n = std::min(n, half);
    sequences.emplace_back(thinned.begin(), thinned.begin() + static_cast<std::ptrdiff_t>(half));
    sequences.emplace_back(thinned.begin() + static_cast<std::ptrdiff_t>(half),
                           thinned.begin() + static_cast<std::ptrdiff_t>(2 * half));
  }
  if (chains.empty() || n < 4) return static_cast<double>(total > 0 ? 1 : 0);
  for (auto& sequence : sequences) sequence.resize(n);
  const double m = static_cast<double>(sequences.size());
  std::vector<double> means;
  std::vector<double> variances;
  for (const auto& sequence : sequences) {
    double mean = 0.0;
    double variance = 0.0;
    meanAndVariance(sequence, mean, variance);
    means.push_back(mean);
    variances.push_back(variance);
  }
  double within = 0.0;
  for (const double v : variances) within += v;
  within /= m;
  double meanOfMeans = 0.0;
  for (const double mean : means) meanOfMeans += mean;
  meanOfMeans /= m;
  double between = 0.0;
  for (const double mean : means) between += (mean - meanOfMeans) * (mean - meanOfMeans);
  between *= static_cast<double>(n) / (m - 1.0);
  const double nd = static_cast<double>(n);
  const double pooled = (nd - 1.0) / nd * within + between / nd;
  const double draws = m * nd;
  if (!(pooled > 0.0)) return static_cast<double>(total);
  const auto rho = [&](std::size_t t) {
    double variogram = 0.0;
    for (const auto& sequence : sequences) {
      for (std::size_t i = t; i < n; ++i) {
        const double d = sequence[i] - sequence[i - t];
        variogram += d * d;
      }
    }
    variogram /= m * static_cast<double>(n - t);
    return 1.0 - variogram / (2.0 * pooled);
  };
  double sum = 0.0;
  for (std::size_t t = 1; t + 1 < n; t += 2) {
    const double pair = rho(t) + rho(t + 1);
    if (!(pair > 0.0)) break;
    sum += pair;
  }
  // Thinning by `stride` divides the autocorrelation time by as much while
  // that time exceeds the stride, which leaves the figure as it was; beyond,
  // the thinned draws are nearly independent and the figure is their count.
  return draws / (1.0 + 2.0 * sum);
}

void RunningMoments::add(double value) {
  ++count;
  const double delta = value - mean;
  mean += delta / static_cast<double>(count);
  squares += delta * (value - mean);
}

double RunningMoments::variance() const {
  return count > 1 ? squares / static_cast<double>(count - 1) : 0.0;
}

double runningRhat(std::span<const RunningMoments> chains) {
  if (chains.size() < 2) return kUnknown;
  std::size_t n = std::numeric_limits<std::size_t>::max();
  std::vector<double> means;
  std::vector<double> variances;
  for (const RunningMoments& chain : chains) {
    n = std::min(n, chain.count);
    means.push_back(chain.mean);
    variances.push_back(chain.variance());
  }
  if (n < 2) return kUnknown;
  return rhatOf(means, variances, static_cast<double>(n));
}

}  // namespace dispfit
