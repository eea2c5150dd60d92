#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing (Google Benchmark too), builds the benchmarks into
# ./build (or $BUILD_DIR) and runs them.
#
#   bash scripts/bench.sh                           # every benchmark
#   bash scripts/bench.sh forward_benchmark         # the named ones
#   bash scripts/bench.sh --benchmark_filter=Load   # options go to each one
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
names=()
options=()
for argument in "$@"; do
  case $argument in
    -*) options+=("$argument") ;;
    *) names+=("$argument") ;;
  esac
done

"$root/scripts/install-deps.sh" libbenchmark-dev
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DDISPFIT_BUILD_BENCH=ON
cmake --build "$build" -j "$(nproc)" --target benchmarks

if [ ${#names[@]} -eq 0 ]; then
  for program in "$build"/bin/*_benchmark; do
    names+=("$(basename "$program")")
  done
fi
# The window benchmarks draw offscreen unless a platform is set.
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
for name in "${names[@]}"; do
  echo "== $name"
  "$build/bin/$name" "${options[@]}"
done
