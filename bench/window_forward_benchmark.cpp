// SPDX-License-Identifier: GPL-3.0-or-later
// The window's own share of a forward run, for a 3-layer and a 20-layer model:
//   BM_WindowRun_InstantEngine  Button1Click on an engine whose FORWARD returns
//                               at once: load, lookup, unload, buffers,
//                               copy-back, axis fitting, chart update
//   BM_WindowRun_Engine         the same on the real engine library
//   BM_BindingOnly_InstantEngine  load, lookup, call and unload alone
//   BM_EngineForward            FORWARD alone, the library kept loaded
// The share on top of FORWARD is Engine - EngineForward, and directly
// InstantEngine. The "+Paint" variants also repaint the chart at once.
#include <benchmark/benchmark.h>
#include <dlfcn.h>

#include <QApplication>
#include <string>
#include <vector>

#include "core/engine_binding.h"
#include "window/file_chooser.h"
#include "window/printer_source.h"
#include "window/qt_message_presenter.h"
#include "window/tform1.h"

namespace dispfit {
namespace {

std::vector<LayerTexts> benchmarkModel(int layers) {
  if (layers == 3) return {{"5", "200", "1.8"}, {"10", "400", "2.0"}, {"0", "800", "2.2"}};
  std::vector<LayerTexts> rows;
  for (int i = 0; i < layers; ++i) {
    rows.push_back({"2", std::to_string(150 + 30 * i), std::to_string(1.8 + 0.02 * i)});
  }
  return rows;
}

void windowRun(benchmark::State& state, const char* library, bool paint) {
  QtMessagePresenter messages;
  EngineBinding engine(messages, library);
  DefaultPrinter printers;
  DialogFileChooser files;
  TForm1 form(messages, engine, printers, files);
  const int layers = static_cast<int>(state.range(0));
  form.LUpDown.setPosition(layers);
  form.setTableRows(benchmarkModel(layers));
  form.show();
  QApplication::processEvents();
  for (auto _ : state) {
    form.Button1Click();
    if (paint) form.Chart.viewport()->repaint();
    benchmark::ClobberMemory();
  }
  state.counters["vr_5Hz"] = form.vr[29];
}

void BM_WindowRun_InstantEngine(benchmark::State& state) {
  windowRun(state, "libbench_instant_forward.so", false);
}
void BM_WindowRun_InstantEngine_Paint(benchmark::State& state) {
  windowRun(state, "libbench_instant_forward.so", true);
}
void BM_WindowRun_Engine(benchmark::State& state) {
  windowRun(state, "libswcore.so", false);
}

// Load, lookup, call and unload alone, on the instant engine.
void BM_BindingOnly_InstantEngine(benchmark::State& state) {
  QtMessagePresenter messages;
  EngineBinding engine(messages, "libbench_instant_forward.so");
  ForwardCall call;
  call.layerCount = static_cast<int32_t>(state.range(0));
  for (int i = 0; i < call.layerCount; ++i) call.vs[i] = 200.0f + 30.0f * static_cast<float>(i);
  call.freqCount = 30;
  for (int i = 0; i < 30; ++i) call.freq[i] = 150.0f - 5.0f * static_cast<float>(i);
  for (auto _ : state) {
    engine.run(call);
    benchmark::ClobberMemory();
  }
  state.counters["vr_5Hz"] = call.phaseVelocity[29];
}

using ForwardEntry = void (*)(const int32_t*, const float*, const float*, const float*,
                              const int32_t*, const float*, float*);

void BM_EngineForward(benchmark::State& state) {
  void* library = dlopen("libswcore.so", RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) {
    state.SkipWithError("libswcore.so not found");
    return;
  }
  const auto entry = reinterpret_cast<ForwardEntry>(dlsym(library, "FORWARD"));
  const int32_t layers = static_cast<int32_t>(state.range(0));
  const std::vector<LayerTexts> rows = benchmarkModel(layers);
  ForwardCall call;
  call.layerCount = layers;
  for (int i = 0; i < layers; ++i) {
    call.thickness[i] = std::stof(rows[static_cast<std::size_t>(i)].thickness);
    call.vs[i] = std::stof(rows[static_cast<std::size_t>(i)].vs);
    call.density[i] = std::stof(rows[static_cast<std::size_t>(i)].density);
  }
  call.freqCount = 30;
  for (int i = 0; i < 30; ++i) call.freq[i] = 150.0f - 5.0f * static_cast<float>(i);
  for (auto _ : state) {
    entry(&call.layerCount, call.thickness, call.vs, call.density, &call.freqCount, call.freq,
          call.phaseVelocity);
    float* result = call.phaseVelocity;
    benchmark::DoNotOptimize(result);
    benchmark::ClobberMemory();
  }
  state.counters["vr_5Hz"] = call.phaseVelocity[29];
  dlclose(library);
}

BENCHMARK(BM_WindowRun_InstantEngine)->Arg(3)->Arg(20)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WindowRun_InstantEngine_Paint)->Arg(3)->Arg(20)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BindingOnly_InstantEngine)->Arg(3)->Arg(20)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WindowRun_Engine)->Arg(3)->Arg(20)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EngineForward)->Arg(3)->Arg(20)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace dispfit
