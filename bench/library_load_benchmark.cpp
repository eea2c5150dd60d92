// SPDX-License-Identifier: GPL-3.0-or-later
// What one load, lookup and unload of the engine library costs, as the window
// program pays it on every forward run:
//   BM_LoadUnload_Minimal      an empty C library: the floor of the system
//   BM_LoadUnload_Engine       libswcore.so, bound at once as the window binds it
//   BM_LoadUnload_Engine_Lazy  libswcore.so with lazy binding
//   BM_LoadCallUnload_Engine   the same with one small FORWARD call in between,
//                              so that the first touch of the freshly mapped
//                              code and state is counted too
#include <benchmark/benchmark.h>
#include <dlfcn.h>

#include <array>
#include <cstdint>

namespace {

constexpr const char* kEngineLibrary = "libswcore.so";
constexpr const char* kMinimalLibrary = "libbench_minimal_library.so";

using ForwardEntry = void (*)(const int32_t*, const float*, const float*, const float*,
                              const int32_t*, const float*, float*);

void loadUnload(benchmark::State& state, const char* library, int mode) {
  for (auto _ : state) {
    void* handle = dlopen(library, mode | RTLD_LOCAL);
    if (handle == nullptr) {
      state.SkipWithError(dlerror());
      return;
    }
    void* entry = dlsym(handle, "FORWARD");
    benchmark::DoNotOptimize(entry);
    dlclose(handle);
  }
}

void BM_LoadUnload_Minimal(benchmark::State& state) {
  loadUnload(state, kMinimalLibrary, RTLD_NOW);
}

void BM_LoadUnload_Engine(benchmark::State& state) {
  loadUnload(state, kEngineLibrary, RTLD_NOW);
}

void BM_LoadUnload_Engine_Lazy(benchmark::State& state) {
  loadUnload(state, kEngineLibrary, RTLD_LAZY);
}

// One frequency on a 150 m/s half-space: a short root search.
void BM_LoadCallUnload_Engine(benchmark::State& state) {
  const int32_t layers = 1;
  const int32_t frequencies = 1;
  std::array<float, 50> thickness{}, vs{}, density{}, freq{}, velocity{};
  vs[0] = 150.0f;
  density[0] = 1.8f;
  freq[0] = 30.0f;
  for (auto _ : state) {
    void* handle = dlopen(kEngineLibrary, RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
      state.SkipWithError(dlerror());
      return;
    }
    const auto forward = reinterpret_cast<ForwardEntry>(dlsym(handle, "FORWARD"));
    forward(&layers, thickness.data(), vs.data(), density.data(), &frequencies, freq.data(),
            velocity.data());
    benchmark::DoNotOptimize(velocity.data());
    dlclose(handle);
  }
  state.counters["velocity"] = velocity[0];
}

BENCHMARK(BM_LoadUnload_Minimal)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LoadUnload_Engine)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LoadUnload_Engine_Lazy)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LoadCallUnload_Engine)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
