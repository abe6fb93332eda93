#!/usr/bin/env bash
# Runs a Windows program under Wine the way every test expects it:
# a private prefix under build/, Japanese locale (ANSI code page 932),
# no debug chatter and no dialog that could block a headless run.
# Usage: scripts/wine-run.sh program.exe [args...]
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# shellcheck source=scripts/wine-env.sh
source "$root/scripts/wine-env.sh"
va_wine_prefix_ready

# The program's output goes through a file: Wine's helper processes (the
# desktop, services) inherit the program's handles and outlive it, and a
# pipe they hold would keep CTest waiting for an end of file that never comes.
out=$(mktemp "${TMPDIR:-/tmp}/va-wine-out.XXXXXX")
"$VA_WINE" "$@" </dev/null >"$out" 2>&1
rc=$?
cat "$out"
rm -f "$out"
exit $rc
