#!/usr/bin/env bash
# Builds Kestrola, prepares the Wine prefix with its capture printer, switches automatic
# printing on for that printer and sends a file through the real Kestrola.exe.
# Usage: scripts/run.sh [FILE]     (default: samples/label.zpl)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${KESTROLA_BUILD:-$root/build}
file=${1:-$root/samples/label.zpl}
[ -f "$file" ] || { echo "run.sh: no such file: $file" >&2; exit 2; }
file=$(cd "$(dirname "$file")" && pwd)/$(basename "$file")

"$root/scripts/build.sh" "$build"
. "$root/scripts/wine-env.sh" "$build"
export KESTROLA_NO_XVFB=1
. "$root/scripts/start-xvfb.sh"
"$root/scripts/prepare-prefix.sh" "$build"

key='HKCU\Software\MorrowickDesign\Kestrola'
wine reg add "$key" /v AutoPrint /t REG_DWORD /d 1 /f >/dev/null
wine reg add "$key" /v AutoPrintPrinter /t REG_SZ /d "$KESTROLA_CAPTURE_PRINTER" /f >/dev/null
rm -f "$KESTROLA_CAPTURE_FILE"

echo "Printing $file on \"$KESTROLA_CAPTURE_PRINTER\"..."
set +e
wine "$build/Kestrola.exe" "$(winepath -w "$file")"
status=$?
set -e
echo "Kestrola.exe exited with $status"
if [ ! -f "$KESTROLA_CAPTURE_FILE" ]; then
    echo "No job reached the capture printer."
    wine reg query "$key" /v LastError 2>/dev/null || true
    exit 1
fi
echo "Captured job: $KESTROLA_CAPTURE_FILE"
echo "Size: $(stat -c %s "$KESTROLA_CAPTURE_FILE") bytes (the file had $(stat -c %s "$file"))"
echo "Last bytes:"
tail -c 16 "$KESTROLA_CAPTURE_FILE" | xxd
