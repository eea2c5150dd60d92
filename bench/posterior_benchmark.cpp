// SPDX-License-Identifier: GPL-3.0-or-later
// Cost of the posterior sampler, on a 4-layer prior (Vs 80-1000 m/s,
// thickness 1-15 m) and the 30-point curve of a 4-layer model (5 to 80 Hz,
// sigma = 2 %), the start search included.
//
// BM_Posterior/T: 200,000 samples kept on T threads by 16 chains at
// temperature 1 and the default ladder of 8 heated, after a burn-in of 20,000: samples and steps
// (of every chain, heated ones and burn-in included) per second, and the
// share of the time spent in the forward calculation.
// BM_PosteriorDefaults/T: the same 200,000 samples with the defaults of
// dispfit-invert --bayes (8 chains and 8 heated, a burn-in of half the
// samples).
// BM_PosteriorScaling/T: 64 chains (56 and 8 heated), so that 16 threads
// have four each: how the sampler scales with the threads.
// BM_SamplerOwnCost: a forward calculation that costs nothing (the curve
// is the S velocities themselves): what the sampler's own work costs a step.
//
// The thread counts come from DISPFIT_BENCH_THREADS ("1,2" unless set, as
// "1,2,4,8,16" in bench/scaling.sh).
#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "four_layer_site.h"
#include "sampling/parallel_tempering.h"
#include "sampling/search_starts.h"

namespace {

using namespace dispfit;

using bench::fourLayerSpace;

std::vector<MeasuredPoint> fourLayerCurve() {
  return bench::fourLayerCurve(0.02);  // the band c (1 -+ 0.02)
}

// The lowest-root forward, timed: each thread's own clock, summed as it ends.
class TimedForward : public ForwardCurve {
 public:
  TimedForward(std::unique_ptr<ForwardCurve> inner, std::atomic<std::int64_t>& total)
      : inner_(std::move(inner)), total_(total) {}
  ~TimedForward() override { total_ += nanoseconds_; }
  bool compute(const TrialModel& model, std::span<double> velocities) override {
    const auto began = std::chrono::steady_clock::now();
    const bool ok = inner_->compute(model, velocities);
    nanoseconds_ += std::chrono::duration_cast<std::chrono::nanoseconds>(
                        std::chrono::steady_clock::now() - began)
                        .count();
    return ok;
  }

 private:
  std::unique_ptr<ForwardCurve> inner_;
  std::atomic<std::int64_t>& total_;
  std::int64_t nanoseconds_ = 0;
};

void runPosterior(benchmark::State& state, SamplerSettings settings) {
  const std::vector<MeasuredPoint> points = fourLayerCurve();
  const CurveLikelihood likelihood(points);
  const ModelPrior prior(fourLayerSpace(), {4, 4});
  settings.threads = static_cast<int>(state.range(0));
  StartSearchSettings starts;
  starts.models = 2000;
  starts.threads = settings.threads;
  std::atomic<std::int64_t> forwardNanoseconds{0};
  const ForwardFactory inner = lowestRootForward(points);
  const ForwardFactory timed = [&] {
    return std::make_unique<TimedForward>(inner(), forwardNanoseconds);
  };
  double steps = 0.0;
  double seconds = 0.0;
  for (auto _ : state) {
    const auto began = std::chrono::steady_clock::now();
    const std::vector<SampledModel> models = searchStarts(
        prior, points, static_cast<std::size_t>(settings.chains + settings.heatedChains), starts);
    const SamplerRun run = runParallelTempering({&prior, &likelihood}, timed, settings, models, {});
    seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
    steps += static_cast<double>(run.stepsPerChain) * static_cast<double>(run.temperatures.size());
    benchmark::DoNotOptimize(run.sampleCount());
  }
  const double iterations = static_cast<double>(state.iterations());
  state.counters["samples_per_second"] = benchmark::Counter(
      static_cast<double>(settings.samples) * iterations, benchmark::Counter::kIsRate);
  state.counters["steps_per_second"] = benchmark::Counter(steps, benchmark::Counter::kIsRate);
  // The forward's share of the threads' time (the sampler's steps only; the
  // start search's forward calculations run through the search's own).
  state.counters["forward_share"] =
      1e-9 * static_cast<double>(forwardNanoseconds.load()) / (seconds * settings.threads);
}

void BM_Posterior(benchmark::State& state) {
  SamplerSettings settings;
  settings.samples = 200000;
  settings.burnIn = 20000;
  settings.chains = 16;
  runPosterior(state, settings);
}

void BM_PosteriorDefaults(benchmark::State& state) {
  SamplerSettings settings;
  settings.samples = 200000;
  settings.burnIn = 100000;
  runPosterior(state, settings);
}

void BM_PosteriorScaling(benchmark::State& state) {
  SamplerSettings settings;
  settings.samples = 200000;
  settings.burnIn = 20000;
  settings.chains = 56;  // and the 8 heated: 64 chains
  runPosterior(state, settings);
}

// A "curve" that is the S velocities, against data that are too: the
// sampler's steps with no forward cost.
class FreeForward : public ForwardCurve {
 public:
  bool compute(const TrialModel& model, std::span<double> velocities) override {
    for (std::size_t i = 0; i < velocities.size(); ++i)
      velocities[i] = model.vs[i % model.vs.size()];
    return true;
  }
};

void BM_SamplerOwnCost(benchmark::State& state) {
  std::vector<MeasuredPoint> points = fourLayerCurve();
  const std::vector<double> vs{140.0, 220.0, 350.0, 600.0};
  for (std::size_t i = 0; i < points.size(); ++i) {
    points[i].velocity = vs[i % 4];
    points[i].band = VelocityBand{0.98 * vs[i % 4], 1.02 * vs[i % 4]};
  }
  const CurveLikelihood likelihood(points);
  const ModelPrior prior(fourLayerSpace(), {4, 4});
  SamplerSettings settings;
  settings.samples = 200000;
  settings.burnIn = 20000;
  settings.chains = 16;
  settings.threads = 1;
  double steps = 0.0;
  for (auto _ : state) {
    const SamplerRun run = runParallelTempering(
        {&prior, &likelihood}, [] { return std::make_unique<FreeForward>(); }, settings, {}, {});
    steps += static_cast<double>(run.stepsPerChain) * static_cast<double>(run.temperatures.size());
  }
  state.counters["per_step"] =
      benchmark::Counter(steps, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void threadCounts(benchmark::internal::Benchmark* b) {
  const char* listed = std::getenv("DISPFIT_BENCH_THREADS");
  std::istringstream in(listed != nullptr ? listed : "1,2");
  for (std::string count; std::getline(in, count, ',');) b->Arg(std::atoi(count.c_str()));
}

BENCHMARK(BM_Posterior)
    ->Apply(threadCounts)
    ->Unit(benchmark::kSecond)
    ->UseRealTime()
    ->Iterations(1);
BENCHMARK(BM_PosteriorDefaults)
    ->Apply(threadCounts)
    ->Unit(benchmark::kSecond)
    ->UseRealTime()
    ->Iterations(1);
BENCHMARK(BM_PosteriorScaling)
    ->Apply(threadCounts)
    ->Unit(benchmark::kSecond)
    ->UseRealTime()
    ->Iterations(1);
BENCHMARK(BM_SamplerOwnCost)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
