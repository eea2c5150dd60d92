#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# scripts/check-packages.sh on small scratch builds: one row per case, each a
# package list, one cache entry, the exit status and a phrase of the output
# expected. The expectations come from Debian's own package relations:
# qt6-charts-dev does not depend on libqt6opengl6-dev, cmake only recommends
# make, build-essential
# brings g++-12 (which /usr/bin/c++ resolves to through the alternatives
# system), libgmock-dev depends on libgtest-dev, coreutils is essential, and
# nothing under /usr/local comes from a package.
#
#   check_packages_test.sh CHECK_SCRIPT
set -euo pipefail
check=$1
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

qt_cmake=/usr/lib/x86_64-linux-gnu/cmake
rows=(
  "Qt OpenGL config, list without it|qt6-charts-dev|Qt6OpenGL_DIR:PATH=$qt_cmake/Qt6OpenGL|1|belongs to libqt6opengl6-dev"
  "Qt OpenGL config, listed|qt6-charts-dev libqt6opengl6-dev|Qt6OpenGL_DIR:PATH=$qt_cmake/Qt6OpenGL|0|all 1 paths"
  "build program, only recommended|cmake|CMAKE_MAKE_PROGRAM:FILEPATH=/usr/bin/make|1|belongs to make"
  "GTest config, pulled in by gmock|libgmock-dev|GTest_DIR:PATH=$qt_cmake/GTest|0|all 1 paths"
  "GTest config, not pulled in|cmake|GTest_DIR:PATH=$qt_cmake/GTest|1|belongs to libgtest-dev"
  "compiler through alternatives, missing|cmake|CMAKE_CXX_COMPILER:FILEPATH=/usr/bin/c++|1|belongs to g++-12"
  "compiler through alternatives, pulled in|build-essential|CMAKE_CXX_COMPILER:FILEPATH=/usr/bin/c++|0|all 1 paths"
  "essential program under merged /usr|cmake|CMAKE_UNAME:INTERNAL=/usr/bin/uname|0|all 1 paths"
  "shared header folder|build-essential|OPENGL_INCLUDE_DIR:PATH=/usr/include|0|all 1 paths"
  "install destination is not read|cmake|CMAKE_INSTALL_OLDINCLUDEDIR:PATH=/usr/include|0|all 0 paths"
  "built by hand under /usr/local|cmake|Foo_DIR:PATH=/usr/local/lib/cmake/Foo|1|belongs to no Debian package"
)

failures=0
for row in "${rows[@]}"; do
  IFS='|' read -r name packages entry status phrase <<<"$row"
  build=$scratch/build
  mkdir -p "$build"
  printf '%s\n' $packages >"$scratch/packages.txt"
  printf '# scratch cache\n%s\n' "$entry" >"$build/CMakeCache.txt"
  actual=0
  output=$(bash "$check" --list "$scratch/packages.txt" "$build" 2>&1) || actual=$?
  if [ "$actual" != "$status" ] || [[ "$output" != *"$phrase"* ]]; then
    echo "FAILED [$name]: exit $actual (expected $status), output:"
    echo "$output"
    failures=$((failures + 1))
  fi
done
echo "$((${#rows[@]} - failures)) passed, $failures failed"
[ "$failures" -eq 0 ]
