#!/usr/bin/env bash
# Configures and builds the trees: build/ (the 32-bit Windows modules, the
# program folder build/bin and the Windows tests), build/win64 (the same
# modules and tests as 64-bit programs, whose suite runs on every machine; not
# built when VA_WINE_ARCH=win32 asks for the 32-bit suite alone) and
# build/native (sanitizer tests).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
source scripts/wine-env.sh
jobs=$(nproc)
# Paths below the checkout hash relative, so work trees share one compiler cache.
export CCACHE_BASEDIR="$root"

cmake -S . -B build -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw32.cmake \
      -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j "$jobs"

if va_test_suites | grep -qx win64; then
    cmake -S . -B build/win64 -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw64.cmake \
          -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build build/win64 -j "$jobs"
fi

cmake -S . -B build/native -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build build/native -j "$jobs"
