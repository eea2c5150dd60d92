#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# How the posterior sampler and the best-fit search scale with the threads:
# builds the two benchmarks in Release from this checkout into a folder of
# its own (the window and the tests left out, a few minutes), then prints
# samples per second of the sampler (200,000 samples, 64 chains) and models
# per second of the best-fit search (50,000 models) at 1, 2, 4, 8 and 16
# threads, with the speed-up over one thread. Each figure is a wall-clock
# rate: run it on a machine with nothing else to do.
#
#   bash bench/scaling.sh [BUILD_FOLDER] [THREAD_COUNTS]
#   bash bench/scaling.sh build-scaling 1,2,4,8,16     # the defaults
#
# Needs cmake, ninja, a C++20 compiler and Google Benchmark
# (libbenchmark-dev).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build-scaling}
threads=${2:-1,2,4,8,16}
jobs=$(nproc)

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DDISPFIT_BUILD_GUI=OFF \
  -DDISPFIT_BUILD_TESTS=OFF -DDISPFIT_BUILD_BENCH=ON >/dev/null
cmake --build "$build" -j "$jobs" --target posterior_benchmark global_search_benchmark >/dev/null

export DISPFIT_BENCH_THREADS=$threads
# One row per thread count: the rate counter of each benchmark's report.
report() {
  local program=$1 filter=$2 counter=$3 unit=$4
  "$build/bin/$program" --benchmark_filter="$filter" --benchmark_format=csv 2>/dev/null |
    awk -F, -v counter="$counter" -v unit="$unit" '
      NR == 1 { for (i = 1; i <= NF; i++) { gsub(/"/, "", $i); if ($i == counter) c = i }; next }
      {
        name = $1; gsub(/"/, "", name); split(name, part, "/"); t = part[2]
        rate = $c; if (NR == 2) first = rate
        printf "  %2s threads  %10.0f %s  %5.2f x\n", t, rate, unit, rate / first
      }'
}
echo "Machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//')"
echo "Posterior sampler, 200,000 samples of a 4-layer model, 64 chains:"
report posterior_benchmark 'BM_PosteriorScaling/' samples_per_second samples/s
echo "Best-fit search, 50,000 models of a 4-layer space:"
report global_search_benchmark 'BM_GlobalSearch/' models_per_second models/s
