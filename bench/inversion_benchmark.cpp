// SPDX-License-Identifier: GPL-3.0-or-later
// Cost of the engine-side inversion: one DISRAY evaluation, one sensitivity
// matrix, one LDL^T solve of a full system, and a whole batch inversion.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "dispersion/engine_state.h"
#include "inversion/damped_least_squares.h"
#include "inversion/dispersion_evaluation.h"
#include "inversion/ldl_solve.h"

namespace {

using swcore::EngineState;

// The records are formatted as in a run, then dropped.
constexpr swcore::TextSink kDiscard{[](void*, const char*, std::size_t) {}, nullptr};

constexpr double kVs[] = {0.15, 0.25, 0.40};
constexpr double kThickness[] = {0.005, 0.010, 0.0};
constexpr double kDensity[] = {1.8, 1.9, 2.0};

// Three-layer model, 30 frequencies 150 .. 5 Hz, all five parameters above the
// half-space thickness free, built-in bounds.
std::unique_ptr<EngineState> benchmarkState(const double* vs) {
  auto state = std::make_unique<EngineState>();
  state->layerCount = 3;
  state->NP = 6;
  for (int i = 0; i < 3; ++i) {
    state->shearVelocity[i] = vs[i];
    state->thickness[i] = kThickness[i];
    state->RHOIN[i] = kDensity[i];
    state->PAR[2 * i] = vs[i];
    state->PAR[2 * i + 1] = kThickness[i];
  }
  state->IFIX[5] = 1;
  state->NF = 5;
  state->M = 30;
  for (int j = 0; j < 30; ++j) {
    state->FREQ[j] = 150.0 - 5.0 * j;
  }
  state->BL = 0.01;
  state->BU = 5.0;
  state->HL = 1e-4;
  state->HU = 0.05;
  state->EA = 1e-5;
  return state;
}

std::vector<double> freeParameters(const EngineState& state) {
  std::vector<double> x;
  for (int i = 0; i < state.NP; ++i) {
    if (state.IFIX[i] == 0) {
      x.push_back(state.PAR[i]);
    }
  }
  return x;
}

void BM_DisrayPhase(benchmark::State& bench) {
  auto state = benchmarkState(kVs);
  state->KK = 1;
  state->KPG = static_cast<int32_t>(bench.range(0));
  std::vector<double> x = freeParameters(*state);
  const swcore::RecordWriter console(kDiscard);
  for (auto _ : bench) {
    benchmark::DoNotOptimize(swcore::DISRAY(*state, x, console));
  }
}
BENCHMARK(BM_DisrayPhase)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_Jacobian(benchmark::State& bench) {
  auto state = benchmarkState(kVs);
  state->KK = 1;
  std::vector<double> x = freeParameters(*state);
  const swcore::RecordWriter console(kDiscard);
  for (auto _ : bench) {
    benchmark::DoNotOptimize(swcore::JACOB(*state, x, console));
  }
}
BENCHMARK(BM_Jacobian)->Unit(benchmark::kMillisecond);

void BM_LdlSolve100(benchmark::State& bench) {
  constexpr std::size_t n = 100;
  std::vector<double> base(n * n);
  for (std::size_t i = 0; i < n; ++i) {
    for (std::size_t j = 0; j < n; ++j) {
      base[i * n + j] = 1.0 / static_cast<double>(1 + (i > j ? i - j : j - i)) + (i == j ? n : 0);
    }
  }
  std::vector<double> matrix(n * n);
  std::vector<double> rhs(n, 1.0);
  std::vector<double> solution(n);
  std::vector<double> pivots(n);
  for (auto _ : bench) {
    matrix = base;
    benchmark::DoNotOptimize(
        swcore::solveLdl(n, swcore::SquareMatrixView{matrix, n}, rhs, solution, pivots));
  }
}
BENCHMARK(BM_LdlSolve100)->Unit(benchmark::kMicrosecond);

// A whole inversion from a perturbed start to the curve of the model.
void BM_InversionRecovery(benchmark::State& bench) {
  auto observed = benchmarkState(kVs);
  const swcore::RecordWriter console(kDiscard);
  swcore::DISRAY(*observed, {}, console);
  constexpr double start[] = {0.17, 0.23, 0.42};
  for (auto _ : bench) {
    auto state = benchmarkState(start);
    state->KK = 1;
    for (int j = 0; j < 30; ++j) {
      state->VOBS[j] = observed->velocity[j];
    }
    std::vector<double> x = freeParameters(*state);
    const swcore::InversionOutcome outcome = swcore::DLSINV(*state, x, 1.0, console);
    bench.counters["steps"] = outcome.ITER;
  }
}
BENCHMARK(BM_InversionRecovery)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
