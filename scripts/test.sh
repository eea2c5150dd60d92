#!/usr/bin/env bash
# Installs what is missing, builds everything with warnings as errors and runs every test.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" -DDISPFIT_WERROR=ON
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "${BUILD_DIR:-$root/build}" --output-on-failure -j "$(nproc)"

# The tests labelled `threads` once more in a small ThreadSanitizer build of the engine, where any
# write that two threads share fails them.
tsan=${BUILD_DIR:-$root/build}-tsan
cmake -S "$root" -B "$tsan" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DDISPFIT_BUILD_GUI=OFF \
  -DDISPFIT_WERROR=ON -DCMAKE_C_FLAGS=-fsanitize=thread -DCMAKE_CXX_FLAGS=-fsanitize=thread \
  -DCMAKE_EXE_LINKER_FLAGS=-fsanitize=thread -DCMAKE_SHARED_LINKER_FLAGS=-fsanitize=thread
cmake --build "$tsan" -j "$(nproc)" --target engine_dispersion_curve_threads_test
ctest --test-dir "$tsan" -L threads --output-on-failure
