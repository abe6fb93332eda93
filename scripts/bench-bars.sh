#!/usr/bin/env bash
# The tab bar benchmark (a section for scripts/bench.sh): 100 tabs opened in
# one group at three bar positions against the bar switched off, and one
# full repaint of a 100-item bar drawn by the program against the system's
# drawing; 7 rounds each, minimum and median. Needs a built tree (the 64-bit
# one on machines that run no 32-bit code) and runs under Xvfb.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
VA_WINE_ARCH=${VA_WINE_ARCH:-$(root=$root bash -c 'source "$root/scripts/wine-env.sh"; va_test_arch')}
export VA_WINE_ARCH
source "$root/scripts/wine-env.sh"
tree=$(va_tree "$VA_WINE_ARCH")
export VA_RES_DIR="$root/res"
echo "== tab bar benchmark ($VA_WINE_ARCH)"
xvfb-run -a -s "-screen 0 1280x1024x24" "$root/scripts/wine-run.sh" "$tree/tests-bin/bars_bench.exe" \
    | grep -E "ms|PASSED|FAILED"
