#!/bin/bash
# Builds the portable core natively (build-native/) and the Windows program and tests (build/).
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
JOBS="$(nproc)"
cmake -S "$ROOT" -B "$ROOT/build-native" -G Ninja -DCMAKE_BUILD_TYPE=Release > "$ROOT/build-native.cmake.log" 2>&1 \
    || { cat "$ROOT/build-native.cmake.log"; exit 1; }
cmake --build "$ROOT/build-native" -j "$JOBS"
cmake -S "$ROOT" -B "$ROOT/build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64.cmake" > "$ROOT/build.cmake.log" 2>&1 \
    || { cat "$ROOT/build.cmake.log"; exit 1; }
cmake --build "$ROOT/build" -j "$JOBS"
rm -f "$ROOT/build-native.cmake.log" "$ROOT/build.cmake.log"
