#!/usr/bin/env bash
# Installs what is missing, then configures and builds both programs, their tests, the
# benchmark programs and each installer: the x86 build in BUILD_ROOT/x86, the x64 build in
# BUILD_ROOT/x64 (BUILD_ROOT defaults to build/). Both build everywhere; which of them can
# run is the test command's business. Ends by putting the release together in
# BUILD_ROOT/release (scripts/release.sh).
# Usage: scripts/build.sh [BUILD_ROOT]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
"$root/scripts/install-packages.sh"
for arch in x86 x64; do
    cmake -S "$root" -B "$build/$arch" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKESTROLA_ARCH=$arch >/dev/null
    cmake --build "$build/$arch"
done
"$root/scripts/release.sh" "$build"
