#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Configures and builds the project into ./build (or $BUILD_DIR), in the one
# configuration both Quick start commands use (warnings as errors), so the
# second finds nothing to rebuild.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DDISPFIT_WERROR=ON "$@"
cmake --build "$build" -j "$(nproc)"
