// SPDX-License-Identifier: GPL-3.0-or-later
// Stand-ins for the engine library, one behaviour per build (FAKE_ENGINE_*):
// a library without FORWARD, FORWARDs that fault (also by overflowing the
// stack), throw or return a value
// that is not a number, and one that echoes its inputs into the curve.
#include <cmath>
#include <csignal>
#include <cstdint>
#include <limits>
#include <stdexcept>

#define FAKE_API extern "C" __attribute__((visibility("default")))

#if defined(FAKE_ENGINE_NO_FORWARD)

// Exports something, but not the forward entry.
FAKE_API void ROOT(const double*, const double*, double* result) {
  *result = 0.0;
}

#else

namespace {
int callsSinceLoad = 0;  // zero whenever the library is freshly loaded

#if defined(FAKE_ENGINE_STACK)
// Recurses until the stack is exhausted.
int descend(int depth) {
  volatile char frame[1024];
  volatile bool deeper = true;
  frame[0] = static_cast<char>(depth);
  if (deeper) return descend(depth + 1) + frame[0];
  return frame[0];
}
#endif
}  // namespace

FAKE_API void FORWARD(const int32_t* layerCount, const float* thickness, const float* vs,
                      const float* density, const int32_t* freqCount, const float* freq,
                      float* phaseVelocity) {
  ++callsSinceLoad;
  // Leave a partial result behind before failing, as a real fault would.
  if (*freqCount > 0) phaseVelocity[0] = 999.0f;
#if defined(FAKE_ENGINE_SEGV)
  volatile int* nowhere = nullptr;
  *nowhere = 1;
#elif defined(FAKE_ENGINE_FPE)
  volatile int numerator = 7;
  volatile int zero = 0;
  volatile int quotient = numerator / zero;
  (void)quotient;
#elif defined(FAKE_ENGINE_ILL)
  __builtin_trap();
#elif defined(FAKE_ENGINE_STACK)
  phaseVelocity[1] = static_cast<float>(descend(0));
#elif defined(FAKE_ENGINE_BUS)
  std::raise(SIGBUS);
#elif defined(FAKE_ENGINE_THROW)
  throw std::runtime_error("engine failure");
#elif defined(FAKE_ENGINE_NAN)
  for (int j = 0; j < *freqCount; ++j) phaseVelocity[j] = 100.0f;
  if (*freqCount > 1) phaseVelocity[1] = std::numeric_limits<float>::quiet_NaN();
#elif defined(FAKE_ENGINE_ECHO)
  // v[j] = f[j] + 1000 N + sum(h + vs + rho) + nf / 2 + calls since load
  float layerSum = 0.0f;
  for (int i = 0; i < *layerCount; ++i) layerSum += thickness[i] + vs[i] + density[i];
  for (int j = 0; j < *freqCount; ++j) {
    phaseVelocity[j] = freq[j] + 1000.0f * static_cast<float>(*layerCount) + layerSum +
                       0.5f * static_cast<float>(*freqCount) + static_cast<float>(callsSinceLoad);
  }
#else
#error "choose a FAKE_ENGINE_* behaviour"
#endif
  (void)thickness;
  (void)vs;
  (void)density;
  (void)freq;
  (void)layerCount;
}

#endif
