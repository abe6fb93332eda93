#!/usr/bin/env bash
# The tab bar benchmark (a section for scripts/bench.sh): 100 tabs opened in
# one group at three bar positions against the bar switched off, and one
# full repaint of a 100-item bar drawn by the program against the system's
# drawing; 5 rounds each (on and off by turns), minimum and median of wall
# and CPU time.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$root/scripts/bench-env.sh"
echo "== tab bar benchmark ($VA_WINE_ARCH)"
run_driver "$tree/tests-bin/bars_bench.exe" \
    | grep -E "ms|PASSED|FAILED"
