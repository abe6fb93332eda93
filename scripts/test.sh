#!/usr/bin/env bash
# Set-up, build, then every test: the native sanitizer build and the Windows
# build under Wine inside an Xvfb display. Exits non-zero on any failure.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
jobs=$(nproc)

bash scripts/setup.sh
bash scripts/build.sh

echo "== native tests (AddressSanitizer, UndefinedBehaviorSanitizer)"
(cd build/native && ctest --output-on-failure -j "$jobs")

echo "== Windows tests under Wine"
xvfb-run -a -s "-screen 0 1280x1024x24" bash scripts/wine-tests.sh
