#!/usr/bin/env bash
# Set-up, build, then starts the browser from the program folder under Wine
# (with the same private prefix and Japanese locale as the tests). Needs a
# display. On a machine that runs no 32-bit code it starts the 64-bit build.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
bash scripts/setup.sh
bash scripts/build.sh
source scripts/wine-env.sh
export VA_WINE_ARCH=$(va_test_arch)
exec bash scripts/wine-run.sh "$(va_tree "$VA_WINE_ARCH")/bin/VantorelArco.exe" "$@"
