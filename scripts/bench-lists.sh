#!/usr/bin/env bash
# Benchmark (not a test): the start-up with the favorites and plug-in lists
# (1,000 favorites in folders, 100 of them in Links, and 20 test plug-ins)
# against the start-up without them, and the first opening of the favorites
# menu (also with the lists but without menu images, to show what the images
# cost), measured from inside Wine by tests/bench/ListsBench. The test
# WebBrowser control stands in for the page engine, registered in the
# benchmark's own prefix.
# Usage: scripts/bench-lists.sh [rounds]   (10 by default)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
rounds=${1:-10}

source scripts/bench-env.sh
export VA_TEST_PLUGIN_DIR="$tree/tests-bin/test-plugins"

echo "Lists benchmark: $arch build, prefix $WINEPREFIX, Wine's CPUs: $VA_BENCH_CPUS"
run_driver "$tree/bench-bin/ListsBench.exe" "$rounds"
