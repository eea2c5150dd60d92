// SPDX-License-Identifier: GPL-3.0-or-later
// The posterior's calibration, measured (see app/sampling/calibration.h):
// for each configuration of the prior (a fixed count of 3 and of 5 layers,
// and a count of 2 to 6 layers sampled), sites drawn from the prior, each
// curve at 30 points from 5 to 80 Hz noised at sigma = 2 %, each sampled with
// the same prior; the coverage of the 50, 80 and 90 % credible intervals of
// Vs30 and of Vs at 2, 5 and 10 m, and the rank histogram of Vs30 with its
// chi^2 p-value. Not a test: a run of 100 sites a configuration takes 5 to
// 20 minutes on two cores.
//
// Each site's line gives, beside its coverage, Q (the sum of squared
// normalised residuals) of its true model and of the best model any chain
// reached, and the share of the samples that fit better than the truth:
// uniform over the sites for a sampler that draws the posterior. With
// --start-at-truth every chain starts at the true model, itself a draw from
// the posterior, so that what is still missed is the sampler's own fault and
// not the start searches'; --verbose adds each site's true and best models
// and its posterior's 5, 50 and 95 % points.
//
//   posterior_calibration [--sites N] [--first-site I] [--configurations 3,5,2-6]
//                         [--samples N] [--burn-in N] [--chains C] [--heated H]
//                         [--hottest T] [--redraws SHARE] [--start-models N]
//                         [--start-searches N] [--threads T] [--seed S]
//                         [--increasing] [--start-at-truth] [--recorded-truth]
//                         [--observed-sampler] [--verbose]
//   posterior_calibration --tables-from LOG...
//
// The second form tables the site lines of earlier runs' output, so that a
// calibration can be run in parts (--first-site, --sites) and counted
// whole: for each configuration, each site once (the last line of it read),
// in the same three tables.
//
// Each site's posterior is also put to the report's two checks: the chi^2
// test of its best fit (fit_check.h) and the samples that fit the curve
// through modes a surface array would not record (recorded_mode_check.h);
// the coverage is tabled again over the sites where either warned and where
// neither did. With --recorded-truth each site's curve is its
// surface-observed fundamental, what an array over it would record, while
// the sampler still fits lowest roots: where the two differ the posterior
// answers another question, and the checks are to say so. With
// --observed-sampler the chains sample under the surface-observed rule
// instead (10 to 25 times the cost of a curve), which has no forward-rule
// check of its own.
//
// The prior: every layer's Vs uniform on 80-1000 m/s, every thickness on
// 0.5-15 m, density 1.9 g/cm3, Vp = 3 Vs; with --increasing, Vs does not
// decrease with depth.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "sampling/calibration.h"
#include "sampling/convergence.h"
#include "sampling/curve_likelihood.h"
#include "sampling/fit_check.h"
#include "sampling/forward_curve.h"
#include "sampling/posterior_quantities.h"
#include "sampling/recorded_mode_check.h"
#include "site/time_averaged_velocity.h"

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

// Q of the site's true model under the sampler's rule against its noised curve:
// about the count of points (30) where that rule made the curve, so a best fit
// far above it means the chains never found the truth's neighbourhood.
double trueWeightedSquares(const ModelPrior& prior, const CalibrationSite& site,
                           swcore::ForwardRule rule) {
  const CurveLikelihood likelihood(site.curve);
  TrialModel model;
  prior.trialModel(site.truth, model);
  std::vector<double> velocities(site.curve.size());
  if (!ruleForward(site.curve, {rule})()->compute(model, velocities)) return NAN;
  return likelihood.weightedSquares(velocities);
}

SamplerRun sampleFromTruth(const ModelPrior& prior, const CalibrationSite& site,
                           const SamplerSettings& settings, swcore::ForwardRule rule) {
  const CurveLikelihood likelihood(site.curve);
  const SamplingProblem problem{&prior, &likelihood};
  const std::vector<SampledModel> truth{site.truth};
  return runParallelTempering(problem, ruleForward(site.curve, {rule}), settings, truth, {});
}

// The share of the kept samples whose Q is below the truth's: uniform over
// the sites for a sampler that draws the posterior, since the truth is then
// one more draw from it; near 1 everywhere for one that keeps too close to
// the best fit.
double shareFittingBetter(const SamplerRun& run, double trueQ) {
  std::size_t better = 0;
  std::size_t all = 0;
  for (const SampleChain& chain : run.chains) {
    for (std::size_t i = 0; i < chain.size(); ++i) {
      ++all;
      // With sigma given, log L = constant - Q / 2.
      const double q =
          run.bestFit.weightedSquares + 2.0 * (run.bestFit.logLikelihood - chain[i].logLikelihood);
      if (q < trueQ) ++better;
    }
  }
  return all == 0 ? 0.0 : static_cast<double>(better) / static_cast<double>(all);
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

// Split R-hat of Vs at `depth` across the cold chains: Vs30 and log L can
// agree while the shallow layers of the chains do not.
double shallowRhat(const SamplerRun& run, double depth) {
  std::vector<std::vector<double>> values(run.chains.size());
  std::vector<std::span<const double>> spans;
  for (std::size_t c = 0; c < run.chains.size(); ++c) {
    for (std::size_t i = 0; i < run.chains[c].size(); ++i) {
      values[c].push_back(shearVelocityAt(run.chains[c][i], depth));
    }
    spans.emplace_back(values[c]);
  }
  return splitRhat(spans);
}

// Each quantity's covered flags, 50/80/90, as "111 011 ..".
std::string coveredFlags(const SiteOutcome& outcome) {
  std::string flags;
  for (std::size_t q = 0; q < kCalibratedQuantities; ++q) {
    if (q > 0) flags += ' ';
    for (const bool covered : outcome.covered[q]) flags += covered ? '1' : '0';
  }
  return flags;
}

// The true model, and each quantity's truth against its posterior's 5, 50
// and 95 % points, with the best fit's model.
void printSiteDetail(const SamplerRun& run, const CalibrationSite& site) {
  const auto printModel = [](const char* name, const SampledModel& model) {
    std::printf("  %s:", name);
    for (std::size_t i = 0; i < model.vs.size(); ++i) {
      std::printf(" %.0f m/s", model.vs[i]);
      if (i < model.thickness.size()) std::printf(" %.2f m |", model.thickness[i]);
    }
    std::printf("\n");
  };
  printModel("true", site.truth);
  printModel("best", run.bestFit.model);
  std::vector<double> thickness = site.truth.thickness;
  thickness.push_back(0.0);
  SampleView truth;
  truth.vs = site.truth.vs;
  truth.thickness = thickness;
  for (std::size_t q = 0; q < kCalibratedQuantities; ++q) {
    const auto of = [q](const SampleView& s) -> std::optional<double> {
      return q == 0 ? averageVelocity(s, kVs30Depth) : shearVelocityAt(s, kCalibratedDepths[q - 1]);
    };
    std::vector<double> values = sampleValues(run, of);
    std::sort(values.begin(), values.end());
    const auto at = [&](double p) {
      return values[static_cast<std::size_t>(p * static_cast<double>(values.size() - 1))];
    };
    std::printf("  %s: true %.1f, posterior 5/50/95 %% %.1f %.1f %.1f\n",
                calibratedQuantityName(q).c_str(), of(truth).value_or(0.0), at(0.05), at(0.5),
                at(0.95));
  }
}

void printTable(const std::string& sites, const CalibrationTally& tally) {
  std::printf("\n%s, %zu sites: coverage of the credible intervals (nominal 50 / 80 / 90 %%)\n",
              sites.c_str(), tally.sites());
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

// One site's line of a run's output: its configuration's name, its index,
// what its posterior held, and whether a check warned.
struct LoggedSite {
  std::string configuration;
  std::size_t index = 0;
  SiteOutcome outcome;
  bool warned = false;
};

std::optional<LoggedSite> parseSiteLine(std::string_view line) {
  constexpr std::string_view kSite = " site ";
  constexpr std::string_view kCovered = "covered 50/80/90 of Vs30 Vs2 Vs5 Vs10 ";
  constexpr std::string_view kRank = ", rank ";
  const std::size_t site = line.find(kSite);
  const std::size_t covered = line.find(kCovered);
  const std::size_t rank = line.find(kRank);
  if (site == std::string_view::npos || covered == std::string_view::npos ||
      rank == std::string_view::npos || site == 0) {
    return std::nullopt;
  }
  LoggedSite logged;
  logged.configuration = std::string(line.substr(0, site));
  const std::string index(line.substr(site + kSite.size()));
  logged.index = std::strtoull(index.c_str(), nullptr, 10);
  // Four groups of three flags, "111 011 ..".
  const std::string_view flags = line.substr(covered + kCovered.size());
  if (flags.size() < 4 * 4 - 1) return std::nullopt;
  for (std::size_t q = 0; q < kCalibratedQuantities; ++q) {
    for (std::size_t l = 0; l < kCalibratedLevels.size(); ++l) {
      const char flag = flags[4 * q + l];
      if (flag != '0' && flag != '1') return std::nullopt;
      logged.outcome.covered[q][l] = flag == '1';
    }
  }
  const std::string rankText(line.substr(rank + kRank.size()));
  logged.outcome.rank = std::strtoull(rankText.c_str(), nullptr, 10);
  if (logged.outcome.rank > kRankDraws) return std::nullopt;
  logged.warned = line.find("(warned)") != std::string_view::npos;
  return logged;
}

// The tables of the site lines in `paths`; 2 where a file cannot be read.
int tablesFrom(const std::vector<std::string>& paths) {
  std::map<std::string, std::map<std::size_t, LoggedSite>> sites;
  for (const std::string& path : paths) {
    std::ifstream in(path);
    if (!in) {
      std::fprintf(stderr, "posterior_calibration: cannot read %s\n", path.c_str());
      return 2;
    }
    for (std::string line; std::getline(in, line);) {
      if (std::optional<LoggedSite> logged = parseSiteLine(line)) {
        sites[logged->configuration][logged->index] = std::move(*logged);
      }
    }
  }
  for (const auto& [name, logged] : sites) {
    CalibrationTally tally;
    CalibrationTally warned;
    CalibrationTally unwarned;
    for (const auto& [index, site] : logged) {
      tally.add(site.outcome);
      (site.warned ? warned : unwarned).add(site.outcome);
    }
    printTable(name, tally);
    printTable(name + ", a check warned", warned);
    printTable(name + ", neither check warned", unwarned);
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 2 && std::string_view(argv[1]) == "--tables-from") {
    return tablesFrom(std::vector<std::string>(argv + 2, argv + argc));
  }
  std::size_t sites = 100;
  std::size_t firstSite = 0;  // a run stopped part-way goes on from its next site
  bool verbose = false;       // each site's true model and posterior quantiles too
  // Every chain starts at the true model: what is then still missed is the
  // sampler's fault, not the start search's.
  bool startAtTruth = false;
  std::vector<Configuration> configurations;
  SamplerSettings settings;  // the length and the ladder of dispfit-invert --bayes
  settings.threads = 2;
  StartSearchSettings starts;
  std::uint64_t seed = 1;
  bool increasing = false;
  // Each site's curve as a surface array would record it rather than its
  // lowest roots.
  bool recordedTruth = false;
  // The chains sample under the surface-observed rule rather than the
  // lowest root.
  bool observedSampler = false;
  for (int i = 1; i < argc; i += 2) {
    const std::string_view option = argv[i];
    if (option == "--increasing" || option == "--verbose" || option == "--start-at-truth" ||
        option == "--recorded-truth" || option == "--observed-sampler") {
      (option == "--increasing"         ? increasing
       : option == "--verbose"          ? verbose
       : option == "--recorded-truth"   ? recordedTruth
       : option == "--observed-sampler" ? observedSampler
                                        : startAtTruth) = true;
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
    } else if (option == "--first-site") {
      firstSite = std::strtoull(value, nullptr, 10);
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
    } else if (option == "--redraws") {
      settings.redrawShare = std::atof(value);
    } else if (option == "--start-searches") {
      starts.searches = std::atoi(value);
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
  const swcore::ForwardRule samplerRule =
      observedSampler ? swcore::ForwardRule::surfaceObserved : swcore::ForwardRule::lowestRoot;
  std::printf(
      "Calibration: %zu sites a configuration, %lld samples after %lld of burn-in, "
      "%d chains at T = 1 and %d heated up to T = %g, redraws %.2f of the steps, starts from "
      "%lld models per layer count in %d best-fit searches, %d threads, seed %llu, Vs %s%s; "
      "the sites' curves their %s, sampled under the %s\n",
      sites, static_cast<long long>(settings.samples), static_cast<long long>(settings.burnIn),
      settings.chains, settings.heatedChains, settings.hottest, settings.redrawShare,
      static_cast<long long>(starts.models), startSearchCount(starts.models, starts.searches),
      settings.threads, static_cast<unsigned long long>(seed),
      increasing ? "not decreasing with depth" : "in any order",
      startAtTruth ? ", every chain started at the true model" : "",
      recordedTruth ? "surface-observed fundamentals" : "lowest roots",
      observedSampler ? "surface-observed rule" : "lowest root");
  for (const Configuration& configuration : configurations) {
    const ModelPrior prior(calibrationSpace(configuration.counts.most, increasing),
                           configuration.counts);
    CalibrationTally tally;
    CalibrationTally warned;    // the sites where the forward-rule check warned
    CalibrationTally unwarned;  // and the others
    const auto began = std::chrono::steady_clock::now();
    for (std::size_t s = firstSite; s < firstSite + sites; ++s) {
      const auto siteBegan = std::chrono::steady_clock::now();
      const CalibrationSite site = drawCalibrationSite(
          prior, seed, s, 0.02,
          recordedTruth ? swcore::ForwardRule::surfaceObserved : swcore::ForwardRule::lowestRoot);
      settings.seed = seed * 1000003ULL + s;
      starts.seed = settings.seed;
      const SamplerRun run = startAtTruth ? sampleFromTruth(prior, site, settings, samplerRule)
                                          : sampleSite(prior, site, settings, starts, samplerRule);
      if (run.sampleCount() == 0) {
        std::printf("site %zu: %s\n", s, run.failure.c_str());
        continue;
      }
      const SiteOutcome outcome = siteOutcome(run, site.truth);
      const double trueQ = trueWeightedSquares(prior, site, samplerRule);
      tally.add(outcome);
      const CurveLikelihood likelihood(site.curve);
      const RecordedModeCheck check =
          recordedModeCheckFor(run, prior, likelihood, site.curve, {samplerRule})
              .value_or(RecordedModeCheck{});
      const std::optional<FitCheck> fit = checkBestFit(run, likelihood);
      const bool misfit = fit && fit->warns();
      (check.warns() || misfit ? warned : unwarned).add(outcome);
      const double seconds =
          std::chrono::duration<double>(std::chrono::steady_clock::now() - siteBegan).count();
      std::printf(
          "%s site %3zu: %zu layers, covered 50/80/90 of Vs30 Vs2 Vs5 Vs10 %s, rank %2zu, "
          "R-hat %.3f (Vs2 %.3f), Q true %.1f best %.1f, share fitting better %.2f, "
          "fit p %.2g%s, unrecorded modes %.1f %%%s, %.1f s\n",
          configuration.name.c_str(), s, site.truth.layerCount(), coveredFlags(outcome).c_str(),
          outcome.rank, maxRhat(run), shallowRhat(run, kCalibratedDepths[0]), trueQ,
          run.bestFit.weightedSquares, shareFittingBetter(run, trueQ), fit ? fit->pValue : NAN,
          misfit ? " (warned)" : "", check.percent(), check.warns() ? " (warned)" : "", seconds);
      if (verbose) printSiteDetail(run, site);
      std::fflush(stdout);
    }
    printTable(configuration.name, tally);
    printTable(configuration.name + ", a check warned", warned);
    printTable(configuration.name + ", neither check warned", unwarned);
    std::printf("(%.0f s)\n",
                std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count());
  }
  return 0;
}
