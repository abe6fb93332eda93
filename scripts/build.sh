#!/usr/bin/env bash
# Configures and builds both trees: build/ (the Windows modules, the program
# folder build/bin and the Windows tests) and build/native (sanitizer tests).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
jobs=$(nproc)

cmake -S . -B build -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw32.cmake \
      -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j "$jobs"

cmake -S . -B build/native -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build build/native -j "$jobs"
