#!/usr/bin/env bash
# Renders the program's windows into PNG files, to be looked at before and
# after a change: the main window with tabs, each menu-bar popup, the
# favorites pane, full screen, every settings page, the dialogs the frame's
# commands open and every dialog template of both modules. Sets up and builds
# what it needs, runs the gallery program in an Xvfb display with the tests'
# Wine prefix and the test WebBrowser control, and prints where the files
# are (<build tree>/gallery, emptied first).
# Usage: scripts/gallery.sh [--gtest_filter=...]   (suites Gallery, the
# frame's shots, and GalleryTemplates, e.g. --gtest_filter=Gallery.FullScreen)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
bash scripts/setup.sh
source scripts/wine-env.sh
arch=$(va_test_arch)
tree=$(va_tree "$arch")
export CCACHE_BASEDIR="$root"
va_build_target "$arch" gallery

out="$tree/gallery"
rm -rf "$out"
mkdir -p "$out"
start=$(date +%s)
rc=0
VA_WINE_ARCH=$arch VA_RES_DIR="$root/res" VA_BIN_DIR="$tree/bin" VA_GALLERY_DIR="$out" \
    xvfb-run -a -s "-screen 0 1280x1024x24" \
    bash scripts/wine-run.sh "$tree/tests-bin/gallery.exe" "$@" || rc=$?
python3 scripts/bmp-to-png.py "$out" || rc=1
count=$(find "$out" -name '*.png' | wc -l)
echo "gallery: $count PNG files in $out ($(( $(date +%s) - start )) s)"
[ "$rc" -eq 0 ] || echo "gallery: some windows could not be shot (see above)" >&2
exit "$rc"
