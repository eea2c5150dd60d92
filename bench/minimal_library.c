// SPDX-License-Identifier: GPL-3.0-or-later
/* A C library with one empty entry and nothing else: the floor of what a
   load, lookup and unload costs on this system, for comparison with the
   engine library. */
__attribute__((visibility("default"))) void FORWARD(void) {}
