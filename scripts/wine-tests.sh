#!/usr/bin/env bash
# Runs the Windows tests with CTest. Expects a display (scripts/test.sh
# provides Xvfb). One persistent wineserver serves the whole run, so that
# starting a test program costs a fraction of a second.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$root/scripts/wine-env.sh"
va_wine_prefix_ready
wineserver -p >/dev/null 2>&1 </dev/null
trap 'wineserver -k 2>/dev/null || true' EXIT
cd "$root/build"
ctest --output-on-failure -j "$(nproc)" "$@"
