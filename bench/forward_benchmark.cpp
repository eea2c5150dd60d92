// SPDX-License-Identifier: GPL-3.0-or-later
// Cost of the forward entry and of one evaluation of the secular function.
//
// For each model (and the stiff crust over soft soil): time per FORWARD call over the 30
// frequencies 150, 145,
// ..., 5 Hz, the number of secular-function evaluations per call, and the
// time per evaluation and layer.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>
#include <vector>

#include "dispersion/dispersion_curve.h"
#include "dispersion/engine_state.h"
#include "dispersion/forward_entry.h"
#include "dispersion/observed_curve.h"
#include "dispersion/secular_function.h"
#include "simd/instruction_set.h"

namespace {

struct BenchModel {
  std::vector<float> thickness;  // m
  std::vector<float> vs;         // m/s
  std::vector<float> density;    // g/cm3
};

BenchModel halfSpace() {
  return {{0.0f}, {150.0f}, {1.8f}};
}

BenchModel threeLayers() {
  return {{5.0f, 10.0f, 0.0f}, {200.0f, 400.0f, 800.0f}, {1.8f, 2.0f, 2.2f}};
}

// 19 layers of 2 m with the S velocity rising from 120 to 660 m/s, one
// low-velocity layer, over a 700 m/s half-space.
BenchModel twentyLayers() {
  BenchModel m;
  for (int i = 0; i < 19; ++i) {
    m.thickness.push_back(2.0f);
    m.vs.push_back(120.0f + 30.0f * static_cast<float>(i));
    m.density.push_back(1.7f + 0.02f * static_cast<float>(i));
  }
  m.vs[6] = 150.0f;
  m.thickness.push_back(0.0f);
  m.vs.push_back(700.0f);
  m.density.push_back(2.2f);
  return m;
}

// A stiff crust over soft soil: 4 m of 400 m/s over 12 m of 180 m/s over a
// 700 m/s half-space. The fundamental mode lies below the top layer's S
// velocity, so the search has to start below the slowest layer.
BenchModel stiffCrust() {
  return {{4.0f, 12.0f, 0.0f}, {400.0f, 180.0f, 700.0f}, {1.9f, 1.8f, 2.0f}};
}

BenchModel modelFor(int64_t layers) {
  switch (layers) {
    case 1:
      return halfSpace();
    case 3:
      return threeLayers();
    default:
      return twentyLayers();
  }
}

void runForwardBenchmark(benchmark::State& state, const BenchModel& model) {
  const auto n = static_cast<int32_t>(model.vs.size());
  std::array<float, 50> h{}, vs{}, rho{}, freq{}, out{};
  std::copy(model.thickness.begin(), model.thickness.end(), h.begin());
  std::copy(model.vs.begin(), model.vs.end(), vs.begin());
  std::copy(model.density.begin(), model.density.end(), rho.begin());
  int32_t nf = 0;
  for (int hz = 150; hz >= 5; hz -= 5) {
    freq[static_cast<size_t>(nf++)] = static_cast<float>(hz);
  }
  swcore::EngineState engine{};
  const std::uint64_t before = swcore::secularEvaluationCount;
  for (auto _ : state) {
    swcore::runForward(engine, {n, h.data(), vs.data(), rho.data(), nf, freq.data(), out.data()});
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
  const auto evaluations = static_cast<double>(swcore::secularEvaluationCount - before);
  const auto calls = static_cast<double>(state.iterations());
  state.counters["evals_per_call"] = evaluations / calls;
  state.counters["layers"] = n;
  // Seconds per evaluation and layer, shown by the library in ns.
  state.counters["time_per_eval_layer"] = benchmark::Counter(
      evaluations * n, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_Forward(benchmark::State& state) {
  runForwardBenchmark(state, modelFor(state.range(0)));
}
BENCHMARK(BM_Forward)->Arg(1)->Arg(3)->Arg(20)->Unit(benchmark::kMicrosecond);

void BM_ForwardStiffCrust(benchmark::State& state) {
  runForwardBenchmark(state, stiffCrust());
}
BENCHMARK(BM_ForwardStiffCrust)->Unit(benchmark::kMicrosecond);
// The same models through the dispersion-curve interface (Vp = 3 Vs, as
// FORWARD has it): time per curve over the same 30 frequencies, the
// evaluations of the secular function per curve and the time per evaluation
// and layer.
std::vector<swcore::ModelLayer> curveModel(const BenchModel& model) {
  std::vector<swcore::ModelLayer> layers;
  for (size_t i = 0; i < model.vs.size(); ++i) {
    layers.push_back({model.thickness[i], model.vs[i], model.density[i] * 1000.0});
  }
  layers.back().thickness = 1.0;  // not read
  return layers;
}

std::vector<double> benchFrequencies() {
  std::vector<double> hz;
  for (int f = 150; f >= 5; f -= 5) {
    hz.push_back(f);
  }
  return hz;
}

// The instruction set a core benchmark runs on: range `index` of the run,
// 0 baseline, 1 AVX2 with FMA, 2 AVX-512; false (and the run skipped) where
// the processor lacks it.
bool useInstructionSet(benchmark::State& state, int index, swcore::DispersionCurveSolver& solver) {
  const auto set = static_cast<swcore::InstructionSet>(state.range(index));
  if (!swcore::processorHas(set)) {
    state.SkipWithError("the processor lacks this instruction set");
    return false;
  }
  solver.setInstructionSet(set);
  state.SetLabel(swcore::nameOf(set));
  return true;
}

// Time per curve over the 30 frequencies on the 3- or 20-layer model
// (range 0) with the code of one instruction set (range 1).
void BM_CoreCurve(benchmark::State& state) {
  const std::vector<swcore::ModelLayer> model = curveModel(modelFor(state.range(0)));
  const std::vector<double> hz = benchFrequencies();
  std::vector<swcore::CurvePoint> out(hz.size());
  swcore::DispersionCurveSolver solver;
  if (!useInstructionSet(state, 1, solver)) {
    return;
  }
  double evaluations = 0.0;
  for (auto _ : state) {
    solver.compute(model, hz, swcore::CurveKind::phase, out);
    evaluations += static_cast<double>(solver.evaluationCount());
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
  const auto calls = static_cast<double>(state.iterations());
  state.counters["evals_per_call"] = evaluations / calls;
  state.counters["layers"] = static_cast<double>(model.size());
  state.counters["time_per_eval_layer"] =
      benchmark::Counter(evaluations * static_cast<double>(model.size()),
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_CoreCurve)
    ->ArgsProduct({{3, 20}, {0, 1, 2}})
    ->ArgNames({"layers", "set"})
    ->Unit(benchmark::kMicrosecond);

// The lowest modes through computeModes: Rayleigh modes 0 (range 1 = 1)
// or 0 to 2 (3), and Love waves (range 1 negative), on the 3- and
// 20-layer models (range 0), with the code of one instruction set (range
// 2); the same counters as BM_CoreCurve.
void BM_CoreModes(benchmark::State& state) {
  const std::vector<swcore::ModelLayer> model = curveModel(modelFor(state.range(0)));
  const std::vector<double> hz = benchFrequencies();
  const bool love = state.range(1) < 0;
  const int modes = static_cast<int>(love ? -state.range(1) : state.range(1));
  const swcore::ModeRequest request{love ? swcore::WaveType::love : swcore::WaveType::rayleigh,
                                    modes, swcore::CurveKind::phase};
  std::vector<swcore::CurvePoint> out(hz.size() * static_cast<std::size_t>(modes));
  swcore::DispersionCurveSolver solver;
  if (!useInstructionSet(state, 2, solver)) {
    return;
  }
  double evaluations = 0.0;
  for (auto _ : state) {
    solver.computeModes(model, hz, request, out);
    evaluations += static_cast<double>(solver.evaluationCount());
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
  const auto calls = static_cast<double>(state.iterations());
  state.counters["evals_per_call"] = evaluations / calls;
  state.counters["time_per_eval_layer"] =
      benchmark::Counter(evaluations * static_cast<double>(model.size()),
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_CoreModes)
    ->ArgsProduct({{3, 20}, {1, 3, -1, -3}, {0, 1, 2}})
    ->ArgNames({"layers", "modes", "set"})
    ->Unit(benchmark::kMicrosecond);

// The surface-observed fundamental under the default rule (every mode below
// the half-space S velocity, compared at 10 % of the largest response) on
// the 3- and 20-layer models (range 0): time per curve over the same 30
// frequencies, the mode search and each present mode's motion where
// several exist, on the fastest instruction set.
void BM_ObservedCurve(benchmark::State& state) {
  const std::vector<swcore::ModelLayer> model = curveModel(modelFor(state.range(0)));
  const std::vector<double> hz = benchFrequencies();
  std::vector<swcore::ObservedPoint> out(hz.size());
  swcore::ObservedCurveSolver solver;
  const swcore::ForwardRuleSettings rule;
  for (auto _ : state) {
    solver.compute(model, hz, rule, out);
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_ObservedCurve)->Arg(3)->Arg(20)->Unit(benchmark::kMicrosecond);

// Curves per second with one solver per thread: the rate on two threads
// against one shows whether the solvers share anything.
void BM_CoreCurveThreads(benchmark::State& state) {
  const std::vector<swcore::ModelLayer> model = curveModel(modelFor(state.range(0)));
  const std::vector<double> hz = benchFrequencies();
  std::vector<swcore::CurvePoint> out(hz.size());
  swcore::DispersionCurveSolver solver;
  for (auto _ : state) {
    solver.compute(model, hz, swcore::CurveKind::phase, out);
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
  state.counters["curves_per_second"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_CoreCurveThreads)
    ->Arg(3)
    ->Threads(1)
    ->Threads(2)
    ->UseRealTime()
    ->Unit(benchmark::kMicrosecond);

// The engine state of a model (km, km/s) at 40 Hz.
swcore::EngineState engineAt40Hz(const BenchModel& model) {
  swcore::EngineState engine{};
  engine.layerCount = static_cast<int32_t>(model.vs.size());
  for (size_t i = 0; i < model.vs.size(); ++i) {
    engine.thickness[i] = model.thickness[i] / 1000.0;
    engine.shearVelocity[i] = model.vs[i] / 1000.0;
    engine.pVelocity[i] = 3.0 * engine.shearVelocity[i];
    engine.density[i] = model.density[i];
  }
  engine.omega = 6.2831854820251465 * 40.0;
  return engine;
}

// One evaluation of D at a velocity typical of a search on the model.
void BM_SecularFunction(benchmark::State& state) {
  const swcore::EngineState engine = engineAt40Hz(modelFor(state.range(0)));
  const swcore::SecularFunction d(engine);
  double c = 0.8 * engine.shearVelocity[0];
  for (auto _ : state) {
    benchmark::DoNotOptimize(d(c));
    c += 1e-9;
  }
  state.counters["time_per_layer"] = benchmark::Counter(
      static_cast<double>(state.iterations()) * static_cast<double>(engine.layerCount),
      benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_SecularFunction)->Arg(1)->Arg(3)->Arg(20);

// The same evaluation when each one waits for the previous value, as every
// step of a root search does: the next velocity depends on D (through a
// product with zero, so it stays the same velocity).
void BM_SecularFunctionChained(benchmark::State& state) {
  const swcore::EngineState engine = engineAt40Hz(modelFor(state.range(0)));
  const swcore::SecularFunction d(engine);
  double c = 0.8 * engine.shearVelocity[0];
  for (auto _ : state) {
    c += 0.0 * d(c);
  }
  benchmark::DoNotOptimize(c);
  state.counters["time_per_layer"] = benchmark::Counter(
      static_cast<double>(state.iterations()) * static_cast<double>(engine.layerCount),
      benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_SecularFunctionChained)->Arg(1)->Arg(3)->Arg(20);

}  // namespace

BENCHMARK_MAIN();
