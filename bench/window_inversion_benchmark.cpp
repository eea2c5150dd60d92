// SPDX-License-Identifier: GPL-3.0-or-later
// A full inversion from the invert button, for a 3-layer and a 10-layer
// model on the window's 30 frequencies, on the real engine library, with the
// window shown and its message pump live. Per solve:
//   real time    Button2Click from the click to the report
//   runs         engine runs (each one load, lookup, FORWARD call, unload)
//   engine_ms    time inside the engine binding, library loads included
//   forward_ms   time inside FORWARD alone: the solve's calls replayed on a
//                library kept loaded
//   outside_pct  share of the solve spent outside FORWARD: decomposition,
//                record operations, library loads, message pumping
//   iterations   the report's iteration count
// BM_InversionParts runs the same solve through the window's inversion logic
// with a timed message pump, and splits the time outside the engine binding
// into message pumping (pump_ms) and the solve's own work (own_ms: the
// decompositions, steps and record operations).
#include <benchmark/benchmark.h>
#include <dlfcn.h>

#include <QApplication>
#include <chrono>
#include <string>
#include <vector>

#include "core/engine_binding.h"
#include "core/forward_model.h"
#include "inversion/window_inversion.h"
#include "window/file_chooser.h"
#include "window/printer_source.h"
#include "window/tform1.h"

namespace dispfit {
namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// Keeps the last report instead of showing it.
class KeptMessages : public MessagePresenter {
 public:
  void showBox(const std::string& text, const std::string&, MessageIcon) override { last = text; }
  void showPlain(const std::string& text) override { last = text; }
  void showError(const std::string& text) override { last = text; }
  std::string last;
};

// Passes runs on to the binding, timing them and keeping their inputs.
class RecordingEngine : public ForwardEngine {
 public:
  explicit RecordingEngine(ForwardEngine& inner) : inner_(inner) {}
  bool run(ForwardCall& call) override {
    calls.push_back(call);
    const Clock::time_point start = Clock::now();
    const bool ok = inner_.run(call);
    seconds += secondsSince(start);
    return ok;
  }
  std::vector<ForwardCall> calls;
  double seconds = 0.0;

 private:
  ForwardEngine& inner_;
};

struct Layer {
  float thickness;
  float vs;
  float density;
};

struct Case {
  std::vector<Layer> truth;
  std::vector<Layer> start;
};

Case benchmarkCase(int layers) {
  if (layers == 3) {
    return {{{2.0f, 150.0f, 1.8f}, {4.0f, 300.0f, 1.9f}, {1.0f, 500.0f, 2.0f}},
            {{2.5f, 180.0f, 1.8f}, {3.0f, 260.0f, 1.9f}, {1.0f, 450.0f, 2.0f}}};
  }
  Case c;
  for (int j = 0; j < layers; ++j) {
    const float vs = 140.0f + 45.0f * static_cast<float>(j);
    const float density = 1.8f + 0.02f * static_cast<float>(j);
    c.truth.push_back({1.2f, vs, density});
    c.start.push_back({1.5f, 1.1f * vs, density});
  }
  return c;
}

void loadModel(TForm1& form, const std::vector<Layer>& layers) {
  form.layerCount = static_cast<int32_t>(layers.size());
  for (size_t j = 0; j < layers.size(); ++j) {
    form.thickness[j] = layers[j].thickness;
    form.vs[j] = layers[j].vs;
    form.density[j] = layers[j].density;
  }
}

using ForwardEntry = void (*)(const int32_t*, const float*, const float*, const float*,
                              const int32_t*, const float*, float*);

// FORWARD time of the given calls on a library kept loaded.
double forwardSeconds(std::vector<ForwardCall> calls) {
  void* library = dlopen("libswcore.so", RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) return 0.0;
  const auto entry = reinterpret_cast<ForwardEntry>(dlsym(library, "FORWARD"));
  const Clock::time_point start = Clock::now();
  for (ForwardCall& call : calls) {
    entry(&call.layerCount, call.thickness, call.vs, call.density, &call.freqCount, call.freq,
          call.phaseVelocity);
  }
  const double seconds = secondsSince(start);
  dlclose(library);
  return seconds;
}

int reportedIterations(const std::string& report) {
  const std::string label = "迭代次数：";
  const size_t at = report.find(label);
  return at == std::string::npos ? -1 : std::stoi(report.substr(at + label.size()));
}

// Makes the true model's curve, as a forward run computes it, the window's
// observed curve, and shows the window. False when the engine is unusable.
template <class Model>
bool showTrueCurve(TForm1& form, ForwardEngine& engine, const Model& truth) {
  loadModel(form, truth);
  ForwardModel run(engine, form.freqCount, form.freq, form.layerCount, form.vs, form.thickness,
                   form.density, false);
  if (!run.runForward()) return false;
  run.copyVrCalc(form.vr);
  form.show();
  QApplication::processEvents();
  return true;
}

// The window with its engine (every run recorded), printer and messages.
struct Window {
  KeptMessages messages;
  EngineBinding binding{messages};
  RecordingEngine engine{binding};
  DefaultPrinter printers;
  DialogFileChooser files;
  TForm1 form{messages, engine, printers, files};
};

void BM_InvertButton(benchmark::State& state) {
  Window w;
  TForm1& form = w.form;
  RecordingEngine& engine = w.engine;
  const KeptMessages& messages = w.messages;
  const Case c = benchmarkCase(static_cast<int>(state.range(0)));

  if (!showTrueCurve(form, w.binding, c.truth)) {
    state.SkipWithError("libswcore.so not usable");
    return;
  }

  double wall = 0.0;
  for (auto _ : state) {
    loadModel(form, c.start);
    engine.calls.clear();
    engine.seconds = 0.0;
    const Clock::time_point start = Clock::now();
    form.Button2Click();
    wall = secondsSince(start);
  }
  const double forward = forwardSeconds(engine.calls);
  state.counters["runs"] = static_cast<double>(engine.calls.size());
  state.counters["engine_ms"] = 1000.0 * engine.seconds;
  state.counters["forward_ms"] = 1000.0 * forward;
  state.counters["outside_pct"] = wall > 0.0 ? 100.0 * (wall - forward) / wall : 0.0;
  state.counters["iterations"] = reportedIterations(messages.last);
}

void BM_InversionParts(benchmark::State& state) {
  Window w;
  TForm1& form = w.form;
  RecordingEngine& engine = w.engine;
  const Case c = benchmarkCase(static_cast<int>(state.range(0)));
  if (!showTrueCurve(form, w.binding, c.truth)) {
    state.SkipWithError("libswcore.so not usable");
    return;
  }

  double wall = 0.0;
  double pump = 0.0;
  for (auto _ : state) {
    loadModel(form, c.start);
    engine.calls.clear();
    engine.seconds = 0.0;
    pump = 0.0;
    const InversionWindowData arrays{form.layerCount, form.vs,   form.thickness, form.density,
                                     form.freqCount,  form.freq, form.vr};
    const Clock::time_point start = Clock::now();
    invertWindowCurve(arrays, engine, [&pump] {
      const Clock::time_point pumpStart = Clock::now();
      QCoreApplication::processEvents();
      pump += secondsSince(pumpStart);
    });
    wall = secondsSince(start);
  }
  state.counters["runs"] = static_cast<double>(engine.calls.size());
  state.counters["engine_ms"] = 1000.0 * engine.seconds;
  state.counters["forward_ms"] = 1000.0 * forwardSeconds(engine.calls);
  state.counters["pump_ms"] = 1000.0 * pump;
  state.counters["own_ms"] = 1000.0 * (wall - engine.seconds - pump);
}

BENCHMARK(BM_InvertButton)->Arg(3)->Arg(10)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_InversionParts)->Arg(3)->Arg(10)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace dispfit
