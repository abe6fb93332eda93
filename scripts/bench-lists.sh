#!/usr/bin/env bash
# Benchmark (not a test): the start-up with the favorites and plug-in lists
# (1,000 favorites in folders, 100 of them in Links, and 20 test plug-ins)
# against the start-up without them, and the first opening of the favorites
# menu, measured from inside Wine by tests/bench/ListsBench. The test
# WebBrowser control stands in for the page engine, registered in the
# benchmark's own prefix.
# Usage: scripts/bench-lists.sh [rounds]   (10 by default)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
rounds=${1:-10}

bash scripts/setup.sh
bash scripts/build.sh >/dev/null
source scripts/wine-env.sh
arch=$(va_test_arch)
tree=$(va_tree "$arch")
export VA_WINE_ARCH=$arch VA_WINEPREFIX="$tree/bench-prefix"
source scripts/wine-env.sh
va_wine_prefix_ready
va_register_test_control

winpath() { printf 'Z:%s' "$1" | tr / '\\'; }
export VA_RES_DIR="$root/res" VA_BIN_DIR="$tree/bin" \
       VA_TEST_PLUGIN_DIR="$tree/tests-bin/test-plugins"

driver=(bash scripts/wine-run.sh "$tree/bench-bin/ListsBench.exe" "$rounds")
echo "Lists benchmark: $arch build, prefix $WINEPREFIX, $(nproc) cores"
if [ -n "${DISPLAY:-}" ]; then
    "${driver[@]}"
else
    xvfb-run -a -s "-screen 0 1280x1024x24" "${driver[@]}"
fi
