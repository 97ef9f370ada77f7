#!/usr/bin/env bash
# Runs a Windows program in the project's prefix: wine-run.sh BUILD_DIR PROGRAM [ARGS...]
# CTest uses it as the cross-compiling emulator. The prefix must have been prepared.
set -eu
. "$(dirname "$0")/wine-env.sh" "$1"
shift
if [ ! -f "$WINEPREFIX/.kestrola-ready" ]; then
    echo "wine-run.sh: the Wine prefix is not prepared; run scripts/prepare-prefix.sh first" >&2
    exit 2
fi
exec wine "$@"
