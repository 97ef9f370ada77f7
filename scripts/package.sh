#!/usr/bin/env bash
# Builds both programs and the release into BUILD_ROOT/release (default build/release):
# one Windows installer per architecture, a zip with x86/Kestrola.exe and x64/Kestrola.exe
# beside README.md and LICENSE.txt, and SHA256SUMS of every file shipped. The same build
# folders as scripts/test.sh, so nothing is built twice.
# Usage: scripts/package.sh [BUILD_ROOT]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-${KESTROLA_BUILD:-$root/build}}
"$root/scripts/build.sh" "$build"
cd "$build/release"
sha256sum --quiet -c SHA256SUMS
echo "Release in $build/release:"
ls -l --time-style=+ . | tail -n +2
