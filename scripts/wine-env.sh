# Sourced by the scripts that run Wine: the environment and the prefix set-up.
#
# VA_WINE_ARCH chooses the Wine: "win32" (the product's own architecture, the
# default) or "win64", for the 64-bit test tree on machines whose kernel runs
# no 32-bit code. Each has a prefix of its own.
root=${root:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
# The architecture asked for by hand, before the default fills it in.
VA_WINE_ARCH_ASKED=${VA_WINE_ARCH_ASKED-${VA_WINE_ARCH:-}}
VA_WINE_ARCH=${VA_WINE_ARCH:-win32}
export VA_WINE_ARCH
if [ "$VA_WINE_ARCH" = win64 ]; then
    export WINEPREFIX="${VA_WINEPREFIX:-$root/build/win64/wineprefix}"
    export WINEARCH=win64
    VA_WINE=/usr/lib/wine/wine64
    export WINELOADER=$VA_WINE
else
    export WINEPREFIX="${VA_WINEPREFIX:-$root/build/wineprefix}"
    export WINEARCH=win32
    VA_WINE=/usr/lib/wine/wine
fi
# VA_WINEDEBUG overrides the silence, e.g. VA_WINEDEBUG=warn+heap for a run
# with Wine's heap checks.
export WINEDEBUG=${VA_WINEDEBUG:--all}
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
# No Mono or Gecko installer offers: the program never needs either here.
export WINEDLLOVERRIDES="mscoree=;mshtml=;winemenubuilder.exe=d"

# The architecture whose tests this machine runs: win32 where the kernel runs
# 32-bit programs, else win64 (some hosts run 64-bit user code only).
va_test_arch() {
    if /usr/lib/wine/wine --version >/dev/null 2>&1; then echo win32; else echo win64; fi
}

# The suites the test command runs, one per line: the one VA_WINE_ARCH names
# by hand; else both where the kernel runs 32-bit programs (the product's own
# architecture first), else the 64-bit one alone.
va_test_suites() {
    if [ -n "$VA_WINE_ARCH_ASKED" ]; then
        echo "$VA_WINE_ARCH_ASKED"
    elif [ "$(va_test_arch)" = win32 ]; then
        printf 'win32\nwin64\n'
    else
        echo win64
    fi
}

# The build tree of an architecture.
va_tree() {
    if [ "$1" = win64 ]; then echo "$root/build/win64"; else echo "$root/build"; fi
}

# Configures the tree of an architecture and builds one target in it.
va_build_target() {
    local arch=$1 target=$2 toolchain=cmake/toolchain-mingw32.cmake
    [ "$arch" = win64 ] && toolchain=cmake/toolchain-mingw64.cmake
    cmake -S "$root" -B "$(va_tree "$arch")" -DCMAKE_TOOLCHAIN_FILE="$root/$toolchain" \
          -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build "$(va_tree "$arch")" -j "$(nproc)" --target "$target"
}

# Creates the prefix once (guarded by a lock, since CTest may start several
# tests at a time): a virtual desktop, so that destroying a top-level window
# does not wait for a window manager that Xvfb does not have.
va_wine_prefix_ready() {
    local stamp="$WINEPREFIX/.va-ready"
    [ -f "$stamp" ] && return 0
    mkdir -p "$(dirname "$WINEPREFIX")"
    (
        flock 9
        [ -f "$stamp" ] && exit 0
        "$VA_WINE" wineboot -i >/dev/null 2>&1 || true
        # wine reg prefers a reg.exe in the current folder: run it from /.
        (cd / &&
         "$VA_WINE" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f &&
         "$VA_WINE" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1280x1024 /f &&
         "$VA_WINE" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f
        ) >/dev/null 2>&1
        wineserver -w
        touch "$stamp"
    ) 9>"$(dirname "$WINEPREFIX")/.wineprefix-$VA_WINE_ARCH.lock"
}

# Registers the test WebBrowser control (tests-bin/TestWebBrowser.dll of the
# architecture's tree) in the prefix as the in-process server of
# CLSID_WebBrowser, so that end-to-end runs host it in place of the engine.
# HKLM is used because Wine's own registration there wins over HKCU.
# Idempotent: a stamp in the prefix remembers the registered path.
va_register_test_control() {
    local dll="$(va_tree "$VA_WINE_ARCH")/tests-bin/TestWebBrowser.dll"
    [ -f "$dll" ] || return 0
    local winpath="Z:$(printf '%s' "$dll" | tr / '\\')"
    local stamp="$WINEPREFIX/.va-test-control"
    [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$winpath" ] && return 0
    local key='HKLM\Software\Classes\CLSID\{8856F961-340A-11D0-A96B-00C04FD705A2}\InprocServer32'
    (cd / &&
     "$VA_WINE" reg add "$key" /ve /d "$winpath" /f &&
     "$VA_WINE" reg add "$key" /v ThreadingModel /d Apartment /f
    ) >/dev/null 2>&1 || { echo "could not register the test control" >&2; return 1; }
    printf '%s' "$winpath" > "$stamp"
}
