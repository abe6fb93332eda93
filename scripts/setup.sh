#!/usr/bin/env bash
# Installs what a fresh Debian machine lacks to build and test the program.
# Idempotent and quick when everything is present: apt-get is not called then.
#
# The 32-bit Wine (wine32:i386) is asked for only where the kernel runs 32-bit
# programs; elsewhere the tests run as 64-bit builds under wine64 and the
# i386 architecture is never added.
set -euo pipefail

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive

have_pkg() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }

# Runs a static i386 program of 96 bytes (exit(42) through int 0x80). Where
# the kernel runs no 32-bit code, exec fails with "Exec format error".
runs_i386() {
    local probe
    probe=$(mktemp)
    printf '%b' \
        '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00' \
        '\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00' \
        '\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00' \
        '\x00\x00\x00\x00' \
        '\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08' \
        '\x60\x00\x00\x00\x60\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00' \
        '\xb8\x01\x00\x00\x00\xbb\x2a\x00\x00\x00\xcd\x80' > "$probe"
    chmod +x "$probe"
    local rc=0
    "$probe" 2>/dev/null || rc=$?
    rm -f "$probe"
    [ "$rc" -eq 42 ]
}

packages=(cmake make g++ mingw-w64 g++-mingw-w64-i686-posix binutils-mingw-w64-i686
          g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
          wine wine64 fonts-wine xvfb xauth locales fonts-ipafont-gothic googletest ccache python3)

# The 32-bit Wine is optional: where it cannot be installed (i386 packages
# behind their amd64 twins, say), the tests run as 64-bit builds. A failure is
# remembered so that later runs stay quick.
no_wine32_stamp=/var/tmp/va-setup-no-wine32
want_wine32=0
if [ "${VA_WINE_ARCH:-}" != win64 ] && [ ! -f "$no_wine32_stamp" ] &&
   ! have_pkg wine32:i386 && runs_i386; then
    want_wine32=1
fi

need=()
for p in "${packages[@]}"; do
    have_pkg "$p" || need+=("$p")
done

apt_update() {
    # A suite whose index fails to arrive (a mirror mid-sync) is retried, and
    # then left: the lists that did arrive are used.
    local attempt
    for attempt in 1 2 3; do
        if $SUDO apt-get update -q >/tmp/va-apt-update.log 2>&1; then return 0; fi
        [ "$attempt" = 3 ] || sleep 5
    done
    echo "setup: apt-get update failed 3 times; going on with the package lists that arrived:" >&2
    grep -E '^(E|W):' /tmp/va-apt-update.log | head -3 >&2 || true
}

# Installs the packages, or names the first one that cannot be installed and
# why, in one line, and fails.
apt_install() {
    $SUDO apt-get install -y -q --no-install-recommends "$@" >/tmp/va-apt-install.log 2>&1 && return 0
    local p why
    for p in "$@"; do
        have_pkg "$p" && continue
        if ! $SUDO apt-get install -y -q --no-install-recommends "$p" >/tmp/va-apt-one.log 2>&1; then
            why=$(grep -E '^E:|Depends:|has no installation candidate' /tmp/va-apt-one.log \
                  | head -1 | sed 's/^ *//')
            echo "setup: cannot install $p: ${why:-see /tmp/va-apt-one.log}" >&2
            return 1
        fi
    done
}

if [ ${#need[@]} -gt 0 ] || [ "$want_wine32" = 1 ]; then
    added_i386=0
    if [ "$want_wine32" = 1 ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
        $SUDO dpkg --add-architecture i386
        added_i386=1
    fi
    apt_update
    [ ${#need[@]} -eq 0 ] || apt_install "${need[@]}"
    if [ "$want_wine32" = 1 ] && ! apt_install wine32:i386 2>/tmp/va-wine32.err; then
        echo "setup: no 32-bit Wine ($(cut -c1-200 /tmp/va-wine32.err)); the tests run as 64-bit programs" >&2
        cp /tmp/va-wine32.err "$no_wine32_stamp" 2>/dev/null || true
        if [ "$added_i386" = 1 ]; then
            $SUDO dpkg --remove-architecture i386 2>/dev/null || true
        fi
    fi
fi

if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf8$'; then
    if ! grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null; then
        echo 'ja_JP.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
    fi
    $SUDO locale-gen ja_JP.UTF-8 >/dev/null
fi
