// SPDX-License-Identifier: GPL-3.0-or-later
#include "sampling/parallel_tempering.h"

#include <algorithm>
#include <barrier>
#include <cmath>
#include <limits>
#include <memory>
#include <thread>

namespace dispfit {

namespace {

// The stream tag of the exchanges, beside the chains' own.
constexpr std::uint64_t kExchangeStream = 2;

std::int64_t perChain(std::int64_t total, int chains) {
  return (std::max<std::int64_t>(total, 0) + chains - 1) / chains;
}

// Everything the threads of one run share. The chains are dealt out anew
// every round through `next`; between rounds only the calling thread
// writes, and the barrier orders its writes before the others read.
struct Round {
  std::vector<MarkovChain>& chains;
  std::vector<SampleChain>& kept;
  std::vector<ChainState>& best;       // per chain
  std::vector<std::uint8_t>& started;  // not vector<bool>: threads write apart
  std::span<const SampledModel> starts;
  std::int64_t first = 0;  // the round's first step of every chain
  std::int64_t count = 0;
  std::int64_t burnIn = 0;
  std::size_t cold = 0;
  bool starting = true;
  bool stop = false;
  std::atomic<std::size_t> next{0};
};

// One thread's share of a round: whichever chains it takes next.
void work(Round& round, ForwardCurve& forward) {
  for (;;) {
    const std::size_t c = round.next.fetch_add(1, std::memory_order_relaxed);
    if (c >= round.chains.size()) return;
    MarkovChain& chain = round.chains[c];
    if (round.starting) {
      const bool started = round.starts.empty()
                               ? chain.start(forward)
                               : chain.start(forward, round.starts[c % round.starts.size()]);
      round.started[c] = started ? 1 : 0;
      round.best[c] = chain.state();
      continue;
    }
    for (std::int64_t s = round.first; s < round.first + round.count; ++s) {
      if (s == round.burnIn) chain.clearTally();
      chain.step(forward, s < round.burnIn);
      if (chain.state().logLikelihood > round.best[c].logLikelihood) round.best[c] = chain.state();
      if (c < round.cold && s >= round.burnIn) round.kept[c].add(chain.state());
    }
  }
}

// The exchanges after round `number`, level by level up the ladder.
void exchange(std::vector<MarkovChain>& chains, std::size_t cold, std::uint64_t seed,
              std::uint64_t number, bool counted, std::vector<SwapTally>& swaps) {
  TrialStream random(seed, kExchangeStream, number);
  for (std::size_t level = 1; level + cold <= chains.size(); ++level) {
    MarkovChain& hotter = chains[cold + level - 1];
    const std::size_t partner = level == 1 ? random.index(cold) : cold + level - 2;
    MarkovChain& colder = chains[partner];
    const double logRatio = (1.0 / colder.temperature() - 1.0 / hotter.temperature()) *
                            (hotter.state().logLikelihood - colder.state().logLikelihood);
    const bool taken = std::log(random.uniform()) < logRatio;
    if (taken) std::swap(hotter.exchangedState(), colder.exchangedState());
    if (counted) {
      ++swaps[level - 1].proposed;
      if (taken) ++swaps[level - 1].accepted;
    }
  }
}

double runningRhatOf(const std::vector<SampleChain>& kept) {
  std::vector<RunningMoments> vs30;
  std::vector<RunningMoments> logL;
  for (const SampleChain& chain : kept) {
    vs30.push_back(chain.vs30Moments());
    logL.push_back(chain.logLikelihoodMoments());
  }
  const double a = runningRhat(vs30);
  const double b = runningRhat(logL);
  if (std::isnan(a) || std::isnan(b)) return std::numeric_limits<double>::quiet_NaN();
  return std::max(a, b);
}

}  // namespace

std::vector<double> chainTemperatures(const SamplerSettings& settings) {
  std::vector<double> temperatures(static_cast<std::size_t>(std::max(settings.chains, 1)), 1.0);
  const int heated = std::max(settings.heatedChains, 0);
  for (int level = 1; level <= heated; ++level) {
    temperatures.push_back(std::pow(settings.hottest, static_cast<double>(level) / heated));
  }
  return temperatures;
}

std::int64_t SamplerRun::sampleCount() const {
  std::int64_t count = 0;
  for (const SampleChain& chain : chains) count += static_cast<std::int64_t>(chain.size());
  return count;
}

SamplerRun runParallelTempering(const SamplingProblem& problem, const ForwardFactory& forwards,
                                const SamplerSettings& settings,
                                std::span<const SampledModel> starts,
                                const SamplerProgressCallback& progress,
                                const std::atomic<bool>* cancel) {
  SamplerRun run;
  run.temperatures = chainTemperatures(settings);
  const int coldCount = std::max(settings.chains, 1);
  const auto cold = static_cast<std::size_t>(coldCount);
  std::vector<MarkovChain> chains;
  for (std::size_t c = 0; c < run.temperatures.size(); ++c) {
    chains.emplace_back(problem, run.temperatures[c], settings.seed, c, settings.redrawShare);
  }
  for (std::size_t c = 0; c < cold; ++c) run.chains.emplace_back(problem.prior->samplesPoisson());
  for (std::size_t level = cold; level < chains.size(); ++level) {
    run.swaps.push_back(
        {run.temperatures[level - 1 < cold ? 0 : level - 1], run.temperatures[level], 0, 0});
  }
  run.burnInPerChain = perChain(settings.burnIn, coldCount);
  const std::int64_t total = run.burnInPerChain + perChain(settings.samples, coldCount);
  const std::int64_t interval = std::max(settings.exchangeInterval, 1);

  std::vector<ChainState> best(chains.size());
  std::vector<std::uint8_t> started(chains.size(), 0);
  Round round{chains, run.chains, best, started, starts};
  round.burnIn = run.burnInPerChain;
  round.cold = cold;
  const auto threads = static_cast<std::size_t>(
      std::clamp<std::int64_t>(settings.threads, 1, static_cast<std::int64_t>(chains.size())));
  std::vector<std::unique_ptr<ForwardCurve>> forward;
  for (std::size_t t = 0; t < threads; ++t) forward.push_back(forwards());
  std::barrier sync(static_cast<std::ptrdiff_t>(threads));
  std::uint64_t exchanges = 0;

  // Between rounds, on the calling thread: the exchanges, the progress, and
  // what the next round does.
  const auto betweenRounds = [&] {
    if (round.starting) {
      round.starting = false;
      if (std::find(started.begin(), started.end(), 0) != started.end()) {
        run.failure = starts.empty()
                          ? "no model drawn from the prior has a curve at every measured frequency"
                          : "a starting model has no curve at some measured frequency";
        round.stop = true;
      }
    } else {
      run.stepsPerChain = round.first + round.count;
      if (chains.size() > cold) {
        exchange(chains, cold, settings.seed, exchanges++, round.first >= run.burnInPerChain,
                 run.swaps);
      }
      if (progress) {
        progress({run.stepsPerChain, total, run.sampleCount(),
                  (total - run.burnInPerChain) * static_cast<std::int64_t>(cold),
                  run.stepsPerChain <= run.burnInPerChain, runningRhatOf(run.chains)});
      }
      round.first += round.count;
      if (round.first >= total) round.stop = true;
    }
    if (cancel != nullptr && cancel->load(std::memory_order_relaxed) && !round.stop) {
      run.cancelled = true;
      round.stop = true;
    }
    round.count = std::min(interval, total - round.first);
    round.next.store(0, std::memory_order_relaxed);
  };
  const auto thread = [&](std::size_t t) {
    for (;;) {
      work(round, *forward[t]);
      sync.arrive_and_wait();
      if (t == 0) betweenRounds();
      sync.arrive_and_wait();
      if (round.stop) return;
    }
  };
  {
    std::vector<std::jthread> pool;
    for (std::size_t t = 1; t < threads; ++t) pool.emplace_back(thread, t);
    thread(0);
  }  // the pool joins here

  for (std::size_t c = 0; c < cold; ++c) run.moves.add(chains[c].tally());
  if (run.stepsPerChain <= run.burnInPerChain) run.moves = {};
  std::size_t bestChain = 0;
  for (std::size_t c = 1; c < best.size(); ++c) {
    if (best[c].logLikelihood > best[bestChain].logLikelihood) bestChain = c;
  }
  run.bestFit = best[bestChain];
  return run;
}

}  // namespace dispfit
