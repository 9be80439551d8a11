#!/bin/bash
# Builds the portable core natively (build-native/) and the Windows program and tests (build/).
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
JOBS="${VANTREL_JOBS:-$(nproc)}"
# VANTREL_BUILD names another build folder (for several work trees or builds side by side).
BUILD="${VANTREL_BUILD:-$ROOT/build}"
NATIVE="${VANTREL_BUILD_NATIVE:-$ROOT/build-native}"
cmake -S "$ROOT" -B "$NATIVE" -G Ninja -DCMAKE_BUILD_TYPE=Release > "$NATIVE.cmake.log" 2>&1 \
    || { cat "$NATIVE.cmake.log"; exit 1; }
cmake --build "$NATIVE" -j "$JOBS"
cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64.cmake" > "$BUILD.cmake.log" 2>&1 \
    || { cat "$BUILD.cmake.log"; exit 1; }
cmake --build "$BUILD" -j "$JOBS"
rm -f "$NATIVE.cmake.log" "$BUILD.cmake.log"
