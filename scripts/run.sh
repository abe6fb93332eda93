#!/usr/bin/env bash
# Set-up, build of the program folder only, then starts the browser from it
# under Wine. The browser runs in a prefix of its own (run-prefix in the build
# tree), never in the tests' prefix, where the test WebBrowser control stands
# in for the system's: a user gets the program as it is. Needs a display. On a
# machine that runs no 32-bit code it starts the 64-bit build.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
bash scripts/setup.sh
source scripts/wine-env.sh
arch=$(va_test_arch)
tree=$(va_tree "$arch")
va_build_target "$arch" program
export VA_WINE_ARCH=$arch VA_WINEPREFIX="$tree/run-prefix"
exec bash scripts/wine-run.sh "$tree/bin/VantorelArco.exe" "$@"
