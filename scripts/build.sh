#!/usr/bin/env bash
# Builds the portable code natively (sanitized, with its tests) and everything for Windows.
#   scripts/build.sh [native|windows|all]    (build folder: $VADERUR_BUILD_DIR or ./build)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${VADERUR_BUILD_DIR:-$root/build}
what=${1:-all}
jobs=$(nproc)
if [ "$what" = native ] || [ "$what" = all ]; then
  cmake -S "$root" -B "$build/native" -DCMAKE_BUILD_TYPE=Debug >/dev/null
  cmake --build "$build/native" -j"$jobs"
fi
if [ "$what" = windows ] || [ "$what" = all ]; then
  cmake -S "$root" -B "$build/windows" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" >/dev/null
  cmake --build "$build/windows" -j"$jobs"
fi
