// SPDX-License-Identifier: GPL-3.0-or-later
// The posterior's calibration, measured (see app/sampling/calibration.h):
// for each configuration of the prior (a fixed count of 3 and of 5 layers,
// and a count of 2 to 6 layers sampled), sites drawn from the prior, each
// curve at 30 points from 5 to 80 Hz noised at sigma = 2 %, each sampled with
// the same prior; the coverage of the 50, 80 and 90 % credible intervals of
// Vs30 and of Vs at 2, 5 and 10 m, and the rank histogram of Vs30 with its
// chi^2 p-value. Not a test: a run of 100 sites a configuration takes hours
// on two cores.
//
//   posterior_calibration [--sites N] [--configurations 3,5,2-6] [--samples N]
//                         [--burn-in N] [--chains C] [--heated H]
//                         [--hottest T] [--start-models N] [--threads T]
//                         [--seed S] [--increasing]
//
// The prior: every layer's Vs uniform on 80-1000 m/s, every thickness on
// 0.5-15 m, density 1.9 g/cm3, Vp = 3 Vs; with --increasing, Vs does not
// decrease with depth.
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "sampling/calibration.h"
#include "sampling/convergence.h"
#include "sampling/posterior_quantities.h"

namespace {

using namespace dispfit;

struct Configuration {
  std::string name;
  LayerCountRange counts;
};

// "3", "5" or "2-6".
bool parseConfiguration(std::string_view text, Configuration& out) {
  const std::size_t dash = text.find('-');
  const int least = std::atoi(std::string(text.substr(0, dash)).c_str());
  const int most = dash == std::string_view::npos
                       ? least
                       : std::atoi(std::string(text.substr(dash + 1)).c_str());
  if (least < 1 || most < least || most > static_cast<int>(kMostSearchLayers)) return false;
  out.name = dash == std::string_view::npos
                 ? std::to_string(least) + " layers"
                 : std::to_string(least) + "-" + std::to_string(most) + " layers";
  out.counts = {least, most};
  return true;
}

SearchSpace calibrationSpace(int layers, bool increasing) {
  SearchSpace space;
  space.increasing = increasing;
  space.layers.assign(static_cast<std::size_t>(layers),
                      LayerRanges{{80.0, 1000.0}, {0.5, 15.0}, 1.9, std::nullopt, std::nullopt});
  return space;
}

double maxRhat(const SamplerRun& run) {
  std::vector<std::span<const double>> vs30;
  std::vector<std::span<const double>> logL;
  for (const SampleChain& chain : run.chains) {
    vs30.push_back(chain.vs30());
    logL.push_back(chain.logLikelihoods());
  }
  return std::max(splitRhat(vs30), splitRhat(logL));
}

void printTable(const Configuration& configuration, const CalibrationTally& tally) {
  std::printf("\n%s, %zu sites: coverage of the credible intervals (nominal 50 / 80 / 90 %%)\n",
              configuration.name.c_str(), tally.sites());
  std::printf("| quantity | 50 %% | 80 %% | 90 %% |\n|---|---|---|---|\n");
  for (std::size_t q = 0; q < kCalibratedQuantities; ++q) {
    std::printf("| %s |", calibratedQuantityName(q).c_str());
    for (std::size_t l = 0; l < kCalibratedLevels.size(); ++l) {
      std::printf(" %.0f %% |", 100.0 * tally.coverage(q, l));
    }
    std::printf("\n");
  }
  std::printf("Vs30 rank histogram (%zu draws, %zu bins):", kRankDraws, kRankBins);
  for (const std::int64_t n : tally.rankHistogram())
    std::printf(" %lld", static_cast<long long>(n));
  std::printf("; chi^2 p-value %.3f\n", tally.rankPValue());
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  std::size_t sites = 100;
  std::vector<Configuration> configurations;
  SamplerSettings settings;
  settings.samples = 40000;
  settings.burnIn = 20000;
  settings.threads = 2;
  StartSearchSettings starts;
  std::uint64_t seed = 1;
  bool increasing = false;
  for (int i = 1; i < argc; i += 2) {
    const std::string_view option = argv[i];
    if (option == "--increasing") {
      increasing = true;
      --i;
      continue;
    }
    if (i + 1 >= argc) {
      std::fprintf(stderr, "posterior_calibration: %s needs a value\n", argv[i]);
      return 2;
    }
    const char* value = argv[i + 1];
    if (option == "--sites") {
      sites = std::strtoull(value, nullptr, 10);
    } else if (option == "--configurations") {
      std::string_view list = value;
      while (!list.empty()) {
        const std::size_t comma = list.find(',');
        Configuration c;
        if (!parseConfiguration(list.substr(0, comma), c)) {
          std::fprintf(stderr, "posterior_calibration: bad configuration in %s\n", value);
          return 2;
        }
        configurations.push_back(c);
        list = comma == std::string_view::npos ? std::string_view() : list.substr(comma + 1);
      }
    } else if (option == "--samples") {
      settings.samples = std::strtoll(value, nullptr, 10);
    } else if (option == "--burn-in") {
      settings.burnIn = std::strtoll(value, nullptr, 10);
    } else if (option == "--chains") {
      settings.chains = std::atoi(value);
    } else if (option == "--heated") {
      settings.heatedChains = std::atoi(value);
    } else if (option == "--hottest") {
      settings.hottest = std::atof(value);
    } else if (option == "--start-models") {
      starts.models = std::strtoll(value, nullptr, 10);
    } else if (option == "--threads") {
      settings.threads = std::atoi(value);
    } else if (option == "--seed") {
      seed = std::strtoull(value, nullptr, 10);
    } else {
      std::fprintf(stderr, "posterior_calibration: unknown option %s\n", argv[i]);
      return 2;
    }
  }
  if (configurations.empty()) {
    for (const char* c : {"3", "5", "2-6"}) {
      Configuration configuration;
      parseConfiguration(c, configuration);
      configurations.push_back(configuration);
    }
  }
  starts.threads = settings.threads;
  std::printf(
      "Calibration: %zu sites a configuration, %lld samples after %lld of burn-in, "
      "%d chains at T = 1 and %d heated up to T = %g, starts from %lld models of a "
      "best-fit search per layer count, %d threads, seed %llu, Vs %s\n",
      sites, static_cast<long long>(settings.samples), static_cast<long long>(settings.burnIn),
      settings.chains, settings.heatedChains, settings.hottest,
      static_cast<long long>(starts.models), settings.threads,
      static_cast<unsigned long long>(seed),
      increasing ? "not decreasing with depth" : "in any order");
  for (const Configuration& configuration : configurations) {
    const ModelPrior prior(calibrationSpace(configuration.counts.most, increasing),
                           configuration.counts);
    CalibrationTally tally;
    const auto began = std::chrono::steady_clock::now();
    for (std::size_t s = 0; s < sites; ++s) {
      const auto siteBegan = std::chrono::steady_clock::now();
      const CalibrationSite site = drawCalibrationSite(prior, seed, s);
      settings.seed = seed * 1000003ULL + s;
      starts.seed = settings.seed;
      const SamplerRun run = sampleSite(prior, site, settings, starts);
      if (run.sampleCount() == 0) {
        std::printf("site %zu: %s\n", s, run.failure.c_str());
        continue;
      }
      const SiteOutcome outcome = siteOutcome(run, site.truth);
      tally.add(outcome);
      const double seconds =
          std::chrono::duration<double>(std::chrono::steady_clock::now() - siteBegan).count();
      std::printf(
          "%s site %3zu: %zu layers, Vs30 covered 50/80/90 %d%d%d, rank %2zu, R-hat %.3f, "
          "%.1f s\n",
          configuration.name.c_str(), s, site.truth.layerCount(), outcome.covered[0][0],
          outcome.covered[0][1], outcome.covered[0][2], outcome.rank, maxRhat(run), seconds);
      std::fflush(stdout);
    }
    printTable(configuration, tally);
    std::printf("(%.0f s)\n",
                std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count());
  }
  return 0;
}
