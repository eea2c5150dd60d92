// SPDX-License-Identifier: GPL-3.0-or-later
// The Rayleigh velocity of a half-space of Vs 150 m/s, Vp 450 m/s, at 10 Hz.
#include <stdio.h>
#include <swcore.h>

int main(void) {
  int32_t layers = 1, count = 1;
  float thickness[50] = {0}, vs[50] = {150}, density[50] = {1.8f}, f[50] = {10}, c[50] = {0};
  FORWARD(&layers, thickness, vs, density, &count, f, c);
  printf("%.2f\n", c[0]);
  return c[0] > 142.0f && c[0] < 142.2f ? 0 : 1;
}
