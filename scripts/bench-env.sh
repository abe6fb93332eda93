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

winpath() { printf 'Z:%s' "$1" | tr / '\\'; }

# Runs a driver under Wine, inside an Xvfb display when there is none.
run_driver() {
    if [ -n "${DISPLAY:-}" ]; then
        bash scripts/wine-run.sh "$@"
    else
        xvfb-run -a -s "-screen 0 1280x1024x24" bash scripts/wine-run.sh "$@"
    fi
}
