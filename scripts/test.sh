#!/usr/bin/env bash
# Builds everything and runs every test under Wine, windows drawn on a private Xvfb.
# Usage: scripts/test.sh [ctest arguments...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${KESTROLA_BUILD:-$root/build}
"$root/scripts/build.sh" "$build"
. "$root/scripts/wine-env.sh" "$build"
. "$root/scripts/start-xvfb.sh"
trap kestrola_stop_xvfb EXIT
"$root/scripts/prepare-prefix.sh" "$build"
cd "$build"
ctest --output-on-failure "$@"
