#!/usr/bin/env bash
# The benchmark (not a test): start-up against an empty MDI program, start-up
# with a heavy profile, and the opening of 100 tabs, measured from inside Wine
# by tests/bench/StartupBench. The test WebBrowser control stands in for the
# page engine, registered in the benchmark's own prefix, so the figures
# measure the program's own code, not page loading.
# Then the sections of scripts/bench-bars.sh, bench-highlight.sh and
# bench-lists.sh.
# Usage: scripts/bench.sh [rounds]   (7 by default, at least 7 recommended)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
rounds=${1:-7}

source scripts/bench-env.sh

bench="$tree/bench"
rm -rf "$bench"
mkdir -p "$bench"

# Program folders: plain (shipped data only), heavy, and one that opens the
# start-up list of 100 URLs.
for profile in plain heavy tabs; do
    cp -r "$tree/bin" "$bench/$profile"
done
sed 's/^iInitMode=.*/iInitMode=4/' res/VantorelArcoDefault.ini > "$bench/tabs/VantorelArco.ini"
grep -q '^iInitMode=4' "$bench/tabs/VantorelArco.ini" || printf 'iInitMode=4\r\n' >> "$bench/tabs/VantorelArco.ini"
for i in $(seq 1 100); do
    printf 'http://bench.invalid/page%d\x81\x4d1\r\n' "$i"
done > "$bench/tabs/StartUpURL.dat"

# The heavy profile: 1,000 shortcuts in 50 folders (the favorites cache is
# written from them by the uncounted first run) and 50 engines in 5 folders.
mkdir -p "$bench/favorites-empty"
for f in $(seq 1 50); do
    dir="$bench/favorites-heavy/Folder $f"
    mkdir -p "$dir"
    for s in $(seq 1 20); do
        printf '[InternetShortcut]\r\nURL=http://bench.invalid/%d/%d\r\n' "$f" "$s" > "$dir/Site $s.url"
    done
done
{
    printf 'ROOT:\r\n'
    for f in $(seq 1 5); do
        printf '\tFOLDER:\r\n\t\tLABEL:Engines %d\r\n' "$f"
        for e in $(seq 1 10); do
            printf '\t\tENTRY:\r\n\t\t\tLABEL:Engine %d-%d\r\n' "$f" "$e"
            printf '\t\t\tURL:http://bench.invalid/search?f=%d&e=%d&q=<UTF8>\r\n' "$f" "$e"
            printf '\t\t\tICON:\r\n\t\t\tADDTOOL:0\r\n\t\t\tSTATE:0\r\n'
        done
        printf '\tENDFOLDER:\r\n'
    done
    printf 'ENDROOT:\r\n'
} > "$bench/heavy/SearchEngine.dat"

echo "Benchmark: $arch build, prefix $WINEPREFIX, Wine's CPUs: $VA_BENCH_CPUS (VA_BENCH_CPUS)"
run_driver "$tree/bench-bin/StartupBench.exe" "$rounds" \
    "$(winpath "$tree/bench-bin/EmptyMdiApp.exe")" \
    "$(winpath "$bench/plain")" "$(winpath "$bench/heavy")" "$(winpath "$bench/tabs")" \
    "$(winpath "$bench/favorites-empty")" "$(winpath "$bench/favorites-heavy")"
entries=$(grep -c 'ENTRY:' "$bench/heavy/IEFavorite.dat" 2>/dev/null || echo 0)
echo "  (the heavy favorites cache held $entries entries)"

# The dialogs library: load, the settings dialog with every page shown,
# cancel and unload, against a plain load and unload of the same file.
run_driver "$tree/bench-bin/FormbayBench.exe" "$rounds" \
    "$(winpath "$bench/plain/Formbay.dll")" "$(winpath "$bench/plain")\\"

# Tab sets (100 tabs with history saved and opened again) and key bindings
# (20,000 presses a round with 300 bindings against none), inside one process with
# the test control.
run_driver "$tree/bench-bin/TabSetBench.exe" "$rounds"

# The sections with scripts of their own: tab bars, keyword marking, lists.
bash scripts/bench-bars.sh
bash scripts/bench-highlight.sh
bash scripts/bench-lists.sh
