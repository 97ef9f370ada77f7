#!/usr/bin/env bash
# Builds Kestrola.exe and its release into BUILD_DIR/release (default build/release):
# the Windows installer, a zip of the program with README.md and LICENSE.txt, and
# SHA256SUMS of both. The same build folder as scripts/test.sh, so nothing is built twice.
# Usage: scripts/package.sh [BUILD_DIR]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-${KESTROLA_BUILD:-$root/build}}
"$root/scripts/install-packages.sh"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target kestrola_release
cd "$build/release"
sha256sum --quiet -c SHA256SUMS
echo "Release in $build/release:"
ls -l --time-style=+ . | tail -n +2
