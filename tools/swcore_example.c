// SPDX-License-Identifier: GPL-3.0-or-later
/*
 * Calling the dispersion engine from C.
 *
 * Loads libswcore.so by its bare file name (found beside this program through
 * its RUNPATH $ORIGIN), looks up FORWARD, computes the fundamental-mode
 * Rayleigh dispersion curve of a built-in three-layer model at 150, 145, ...,
 * 5 Hz and prints it. The library is unloaded again afterwards, so a second
 * run of this sequence starts from the library's zeroed state.
 *
 * Every argument of FORWARD is passed by reference: counts as int32_t,
 * arrays of up to 50 floats in m, m/s, g/cm3 and Hz; the phase velocities
 * come back in m/s.
 */
#include <dlfcn.h>
#include <stdint.h>
#include <stdio.h>

#include "swcore.h"

enum { kCapacity = 50 };

typedef void (*ForwardFunction)(const int32_t*, const float*, const float*, const float*,
                                const int32_t*, const float*, float*);

int main(void) {
  /* Thickness (m), S velocity (m/s), density (g/cm3); the last row is the half-space. */
  const int32_t layerCount = 3;
  const float thickness[kCapacity] = {5.0f, 10.0f, 0.0f};
  const float shearVelocity[kCapacity] = {200.0f, 400.0f, 800.0f};
  const float density[kCapacity] = {1.8f, 2.0f, 2.2f};

  int32_t freqCount = 0;
  float freq[kCapacity] = {0.0f};
  float phaseVelocity[kCapacity] = {0.0f};
  for (int hz = 150; hz >= 5; hz -= 5) {
    freq[freqCount++] = (float)hz;
  }

  void* library = dlopen("libswcore.so", RTLD_NOW | RTLD_LOCAL);
  if (library == NULL) {
    fprintf(stderr, "cannot load libswcore.so: %s\n", dlerror());
    return 1;
  }
  ForwardFunction forward = NULL;
  /* POSIX guarantees that a function address survives the trip through void*. */
  *(void**)&forward = dlsym(library, "FORWARD");
  if (forward == NULL) {
    fprintf(stderr, "libswcore.so has no FORWARD: %s\n", dlerror());
    dlclose(library);
    return 1;
  }

  forward(&layerCount, thickness, shearVelocity, density, &freqCount, freq, phaseVelocity);
  dlclose(library);

  printf("Model (thickness m, Vs m/s, density g/cm3):\n");
  for (int i = 0; i < layerCount; ++i) {
    if (i + 1 < layerCount) {
      printf("  %6.1f  %6.1f  %4.2f\n", thickness[i], shearVelocity[i], density[i]);
    } else {
      printf("  %6s  %6.1f  %4.2f  (half-space)\n", "-", shearVelocity[i], density[i]);
    }
  }
  printf("\nFrequency (Hz)  Phase velocity (m/s)\n");
  for (int j = 0; j < freqCount; ++j) {
    printf("%14.1f  %20.3f\n", freq[j], phaseVelocity[j]);
  }
  return 0;
}
