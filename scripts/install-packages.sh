#!/usr/bin/env bash
# Installs every Debian package the build, the Wine harness and the tests need.
# Safe to run again: it only installs what is missing.
set -euo pipefail

packages=(cmake ninja-build googletest g++-mingw-w64-i686 wine wine32:i386 fonts-wine
          xvfb xdotool x11-utils imagemagick nsis zip unzip jq)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    "${sudo_cmd[@]}" dpkg --add-architecture i386
fi
echo "Installing: ${missing[*]}"
"${sudo_cmd[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
