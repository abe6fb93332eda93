#!/usr/bin/env bash
# Runs the Windows tests of one tree with CTest: VA_WINE_ARCH's (scripts/test.sh
# runs it once per suite), by default the product's where the machine runs
# it. Expects a display (scripts/test.sh provides Xvfb). One persistent
# wineserver serves the whole run, so that starting a test program costs a
# fraction of a second.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
VA_WINE_ARCH=${VA_WINE_ARCH:-$(root=$root bash -c 'source "$root/scripts/wine-env.sh"; va_test_arch')}
export VA_WINE_ARCH
source "$root/scripts/wine-env.sh"
echo "Windows tests: $VA_WINE_ARCH build in $(va_tree "$VA_WINE_ARCH")"
va_wine_prefix_ready
# A wineserver that already serves the prefix (a run started by hand) is
# used as it is.
wineserver -p >/dev/null 2>&1 </dev/null || echo "Windows tests: a wineserver already serves $WINEPREFIX; using it"
va_register_test_control
trap 'wineserver -k 2>/dev/null || true' EXIT
cd "$(va_tree "$VA_WINE_ARCH")"
ctest --output-on-failure -j "$(nproc)" "$@"
