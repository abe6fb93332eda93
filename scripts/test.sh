#!/usr/bin/env bash
# Set-up, build, then every test: the native sanitizer build, then the Windows
# tests under Wine inside an Xvfb display, of both trees where the machine runs
# 32-bit programs (the 32-bit product's, then the 64-bit build's), else of the
# 64-bit tree alone; VA_WINE_ARCH picks one by hand. Each suite runs in its own
# prefix, the second even when the first failed. Exits non-zero on any failure.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
jobs=$(nproc)

bash scripts/setup.sh
bash scripts/build.sh

echo "== entry points of the system's calls, each through a guard"
python3 scripts/check-entries.py

echo "== native tests (AddressSanitizer, UndefinedBehaviorSanitizer)"
(cd build/native && ctest --output-on-failure -j "$jobs")

source scripts/wine-env.sh
failed=()
for arch in $(va_test_suites); do
    echo "== Windows tests under Wine ($arch)"
    started=$SECONDS
    if VA_WINE_ARCH=$arch xvfb-run -a -s "-screen 0 1280x1024x24" bash scripts/wine-tests.sh; then
        echo "== Windows tests ($arch) passed in $((SECONDS - started)) s"
    else
        echo "== Windows tests ($arch) FAILED after $((SECONDS - started)) s"
        failed+=("$arch")
    fi
done
if [ ${#failed[@]} -gt 0 ]; then
    echo "== failed Windows suites: ${failed[*]}" >&2
    exit 1
fi
