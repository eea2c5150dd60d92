// SPDX-License-Identifier: GPL-3.0-or-later
// Cost of the global search.
//
// BM_GlobalSearch/T: 50,000 trial models of a 4-layer space fitted to a
// 30-point curve (5 to 80 Hz, +-3 % band) on T threads (DISPFIT_BENCH_THREADS,
// "1,2" unless set): the wall time, and models per second.
// BM_SearchOwnCost/N: the same search of N models with a scorer that costs
// nothing, on one thread: what the algorithm itself (draws, walks in the
// neighbourhood cells, mapping, merging, bookkeeping) costs per model. The
// walk step costs O(K d) with the neighbourhood set bounded at K models, so
// the cost per model at 50,000 models should stay within 20 % of that at
// 10,000.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "four_layer_site.h"
#include "search/global_search.h"

namespace {

using namespace dispfit;

using bench::fourLayerSpace;

std::vector<MeasuredPoint> fourLayerCurve() {
  return bench::fourLayerCurve(0.03);  // the band c (1 -+ 0.03)
}

void BM_GlobalSearch(benchmark::State& state) {
  const std::vector<MeasuredPoint> points = fourLayerCurve();
  const CurveMisfit curve(points);
  SearchSettings settings;
  settings.models = 50000;
  settings.threads = static_cast<int>(state.range(0));
  for (auto _ : state) {
    const SearchEnsemble ensemble = runGlobalSearch(fourLayerSpace(), curve, settings, {}, {});
    benchmark::DoNotOptimize(ensemble.misfits.data());
  }
  state.counters["models_per_second"] = benchmark::Counter(
      static_cast<double>(settings.models) * static_cast<double>(state.iterations()),
      benchmark::Counter::kIsRate);
}
// The thread counts from DISPFIT_BENCH_THREADS ("1,2" unless set, as
// "1,2,4,8,16" in bench/scaling.sh).
void threadCounts(benchmark::internal::Benchmark* b) {
  const char* listed = std::getenv("DISPFIT_BENCH_THREADS");
  std::istringstream in(listed != nullptr ? listed : "1,2");
  for (std::string count; std::getline(in, count, ',');) b->Arg(std::atoi(count.c_str()));
}

BENCHMARK(BM_GlobalSearch)
    ->Apply(threadCounts)
    ->Unit(benchmark::kSecond)
    ->UseRealTime()
    ->Iterations(1);

// A misfit that costs next to nothing and still orders the models: the
// distance of the S velocities from a fixed profile.
class FreeScorer : public ModelScorer {
 public:
  double misfit(const TrialModel& model) override {
    double sum = 0.0;
    for (std::size_t i = 0; i < model.vs.size(); ++i) {
      const double r = model.vs[i] - 150.0 * static_cast<double>(i + 1);
      sum += r * r;
    }
    return std::sqrt(sum);
  }
};

void BM_SearchOwnCost(benchmark::State& state) {
  SearchSettings settings;
  settings.models = state.range(0);
  settings.threads = 1;
  const ScorerFactory scorers = [] { return std::make_unique<FreeScorer>(); };
  for (auto _ : state) {
    const SearchEnsemble ensemble =
        runGlobalSearch(fourLayerSpace(), MisfitKind::Normalised, scorers, settings, {}, {});
    benchmark::DoNotOptimize(ensemble.misfits.data());
  }
  // Seconds per model, shown by the library in microseconds.
  state.counters["per_model"] = benchmark::Counter(
      static_cast<double>(settings.models) * static_cast<double>(state.iterations()),
      benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_SearchOwnCost)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
