# Sourced by the benchmark scripts: set-up and build (once, when the caller
# has not done them), the tree this machine runs, the benchmarks' own prefix
# with the test WebBrowser control registered, and the helpers to run a
# driver program.
root=${root:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
cd "$root"
if [ -z "${VA_BENCH_READY:-}" ]; then
    bash scripts/setup.sh
    bash scripts/build.sh >/dev/null
fi
source scripts/wine-env.sh
arch=$(va_test_arch)
tree=$(va_tree "$arch")
export VA_WINE_ARCH=$arch VA_WINEPREFIX="$tree/bench-prefix"
source scripts/wine-env.sh
va_wine_prefix_ready
va_register_test_control
export VA_BENCH_READY=1 VA_RES_DIR="$root/res" VA_BIN_DIR="$tree/bin"

# Wine runs on one CPU. On a virtual machine a wake-up across CPUs costs tens
# of microseconds, and every request to the Wine server or the X server pays
# it twice. Measured here with free CPUs, the same settings page was made in
# 8 to 95 ms from run to run and a plain button in 0.08 to 1 ms, the
# program's own CPU time three times as high in the slow runs; on two CPUs
# every run was slow. On one CPU the program, the Wine server and the X
# server take turns without those wake-ups: the figures hold all of their
# work (none of it overlaps) and repeat within a few per cent. VA_BENCH_CPUS
# names the CPUs (a taskset list) or "all" to leave them free. The shell
# pins itself once, so every section and every Wine process it starts
# inherits the choice; a Wine server the set-up left running unpinned goes
# first.
if [ -z "${VA_BENCH_CPUS_SET:-}" ]; then
    VA_BENCH_CPUS=${VA_BENCH_CPUS:-$(taskset -pc $$ | sed 's/.*: //; s/[-,].*//')}
    export VA_BENCH_CPUS VA_BENCH_CPUS_SET=1
    if [ "$VA_BENCH_CPUS" != all ]; then
        timeout 15 wineserver -w 2>/dev/null ||
            echo "a Wine server still serves $WINEPREFIX: it runs on every CPU" >&2
        taskset -pc "$VA_BENCH_CPUS" $$ >/dev/null
    fi
fi

winpath() { printf 'Z:%s' "$1" | tr / '\\'; }

# Runs a driver under Wine, inside an Xvfb display when there is none.
run_driver() {
    if [ -n "${DISPLAY:-}" ]; then
        bash scripts/wine-run.sh "$@"
    else
        xvfb-run -a -s "-screen 0 1280x1024x24" bash scripts/wine-run.sh "$@"
    fi
}
