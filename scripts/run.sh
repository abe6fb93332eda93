#!/usr/bin/env bash
# Set-up, build, then starts the browser from build/bin/ under Wine (with
# the same private prefix and Japanese locale as the tests). Needs a display.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
bash scripts/setup.sh
bash scripts/build.sh
exec bash scripts/wine-run.sh "$root/build/bin/VantorelArco.exe" "$@"
