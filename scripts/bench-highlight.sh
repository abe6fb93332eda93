#!/usr/bin/env bash
# The keyword-marking benchmark (not a test): tests/bench/HighlightBench
# marks 1,000 whole-word matches in a page of three frames with 1 MB of text
# and clears them again, ten times each, around the test WebBrowser control,
# and checks that every clearing restores each document byte for byte.
# Usage: scripts/bench-highlight.sh [runs]   (10 by default)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
runs=${1:-10}

source scripts/bench-env.sh
echo "machine: $(nproc --all) cores (Wine's: $VA_BENCH_CPUS), $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//')"
echo "build: $tree (Release, $arch)"
run_driver "$tree/bench-bin/HighlightBench.exe" "$runs"
