#!/usr/bin/env bash
# Installs what a fresh Debian machine lacks to build and test the program.
# Idempotent: only missing packages are installed.
set -euo pipefail

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive

need=()
have_pkg() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }

if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
    updated_arch=1
fi

for p in cmake make g++ mingw-w64 g++-mingw-w64-i686-posix binutils-mingw-w64-i686 \
         g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 \
         wine wine32:i386 wine64 xvfb xauth locales fonts-ipafont-gothic googletest; do
    have_pkg "$p" || need+=("$p")
done

if [ ${#need[@]} -gt 0 ]; then
    $SUDO apt-get update -q
    $SUDO apt-get install -y -q --no-install-recommends "${need[@]}"
fi

if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf8$'; then
    if ! grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null; then
        echo 'ja_JP.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
    fi
    $SUDO locale-gen ja_JP.UTF-8 >/dev/null
fi
