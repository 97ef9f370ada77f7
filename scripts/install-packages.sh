#!/usr/bin/env bash
# Installs every Debian package the build, the Wine harness and the tests need.
# Safe to run again: it only installs what is missing.
# Both programs are always built; 64-bit Wine runs the x64 one everywhere. 32-bit Wine
# (wine32:i386) is installed only where this machine can start a 32-bit program, and a
# failure to install it does not stop anything: the x86 build then goes untested here.
set -euo pipefail

packages=(cmake ninja-build googletest g++-mingw-w64-i686 g++-mingw-w64-x86-64 wine wine64
          fonts-wine xvfb xdotool x11-utils imagemagick nsis zip unzip jq)

is_installed() {
    dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'
}

sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
updated=
apt_install() {
    if [ -z "$updated" ]; then
        "${sudo_cmd[@]}" apt-get update -qq
        updated=1
    fi
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "$@"
}

missing=()
for p in "${packages[@]}"; do
    is_installed "$p" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    apt_install "${missing[@]}"
fi

# 32-bit Wine, where 32-bit programs run. The only reliable test is starting one: the
# i386 C library's loader is the smallest there is.
[ -n "${KESTROLA_NO_X86:-}" ] && exit 0
is_installed wine32:i386 && exit 0
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    "${sudo_cmd[@]}" dpkg --add-architecture i386
    updated=
fi
if ! is_installed libc6:i386; then
    apt_install libc6:i386 >/dev/null 2>&1 || true
fi
if ! /lib/ld-linux.so.2 --version >/dev/null 2>&1; then
    echo "Not installing 32-bit Wine: this machine cannot run 32-bit programs (the x64 build is tested alone)."
    exit 0
fi
echo "Installing: wine32:i386"
apt_install wine32:i386 ||
    echo "Could not install 32-bit Wine (wine32:i386); the x86 build will not be tested here." >&2
