# Sourced by the scripts that run Wine: the environment and the prefix set-up.
root=${root:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
export WINEPREFIX="${VA_WINEPREFIX:-$root/build/wineprefix}"
export WINEARCH=win32
export WINEDEBUG=-all
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
# No Mono or Gecko installer offers: the program never needs either here.
export WINEDLLOVERRIDES="mscoree=;mshtml=;winemenubuilder.exe=d"

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
        wineboot -i >/dev/null 2>&1 || true
        # wine reg prefers a reg.exe in the current folder: run it from /.
        (cd / &&
         wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f &&
         wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1280x1024 /f &&
         wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f
        ) >/dev/null 2>&1
        wineserver -w
        touch "$stamp"
    ) 9>"$(dirname "$WINEPREFIX")/.wineprefix.lock"
}
