#!/usr/bin/env bash
# Builds Kestrola, prepares the Wine prefix with its capture printer, switches automatic
# printing on for that printer and sends a file through the real Kestrola.exe.
# Usage: scripts/run.sh [FILE]             (default: samples/label.zpl)
#        scripts/run.sh --wizard [FILE]    opens the wizard instead (automatic printing off):
#            on a desktop (DISPLAY set) as a window to use; without one, under a private
#            Xvfb, writing a screenshot to build/ARCH/wizard.png and closing it again.
#        The x86 program runs where the machine runs 32-bit programs, the x64 one elsewhere;
#        KESTROLA_RUN_ARCH=x64 (or x86) chooses.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${KESTROLA_BUILD:-$root/build}
wizard=
if [ "${1:-}" == "--wizard" ]; then
    wizard=1
    shift
fi
file=${1:-}
[ -n "$file" ] || [ -n "$wizard" ] || file=$root/samples/label.zpl
if [ -n "$file" ]; then
    [ -f "$file" ] || { echo "run.sh: no such file: $file" >&2; exit 2; }
    file=$(cd "$(dirname "$file")" && pwd)/$(basename "$file")
fi

"$root/scripts/build.sh" "$build"
# The x86 program where this machine runs 32-bit programs, the x64 one everywhere else
# (KESTROLA_RUN_ARCH=x64 or x86 chooses).
. "$root/scripts/arch.sh"
arch=${KESTROLA_RUN_ARCH:-}
if [ -z "$arch" ]; then
    arch=x86
    [ -z "$kestrola_x86_skipped" ] || arch=x64
elif [ "$arch" = x86 ] && [ -n "$kestrola_x86_skipped" ]; then
    echo "run.sh: the x86 build cannot run here: $kestrola_x86_skipped" >&2
    exit 2
fi
[ "$arch" = x86 ] || [ "$arch" = x64 ] || { echo "run.sh: KESTROLA_RUN_ARCH is x86 or x64" >&2; exit 2; }
[ -z "$kestrola_x86_skipped" ] || [ -n "${KESTROLA_RUN_ARCH:-}" ] ||
    echo "Running the x64 build: $kestrola_x86_skipped"
build=$build/$arch
. "$root/scripts/wine-env.sh" "$build"
desktop=${DISPLAY:-}
if [ -n "$wizard" ] && [ -n "$desktop" ]; then
    export KESTROLA_NO_XVFB=1
    wineserver -k 2>/dev/null || true
    export DISPLAY=$desktop
elif [ -n "$wizard" ]; then
    unset KESTROLA_NO_XVFB
    . "$root/scripts/start-xvfb.sh"
    trap kestrola_stop_xvfb EXIT
else
    export KESTROLA_NO_XVFB=1
    . "$root/scripts/start-xvfb.sh"
fi
"$root/scripts/prepare-prefix.sh" "$build"

key='HKCU\Software\MorrowickDesign\Kestrola'
args=()
[ -n "$file" ] && args=("$(winepath -w "$file")")

if [ -n "$wizard" ]; then
    wine reg add "$key" /v AutoPrint /t REG_DWORD /d 0 /f >/dev/null
    if [ -n "$desktop" ]; then
        echo "Opening the wizard on $desktop; its jobs go to \"$KESTROLA_CAPTURE_PRINTER\" ($KESTROLA_CAPTURE_FILE)."
        wine "$build/Kestrola.exe" "${args[@]}"
        exit 0
    fi
    wine "$build/Kestrola.exe" "${args[@]}" </dev/null >/dev/null 2>&1 &
    pid=$!
    window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Morrowick Kestrola$' | head -n1)
    sleep 1
    eval "$(xdotool getwindowgeometry --shell "$window")"
    import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$build/wizard.png"
    kill "$pid" 2>/dev/null || true
    echo "No desktop: the wizard ran under Xvfb; its screenshot is $build/wizard.png"
    exit 0
fi

wine reg add "$key" /v AutoPrint /t REG_DWORD /d 1 /f >/dev/null
wine reg add "$key" /v AutoPrintPrinter /t REG_SZ /d "$KESTROLA_CAPTURE_PRINTER" /f >/dev/null
rm -f "$KESTROLA_CAPTURE_FILE"

echo "Printing $file on \"$KESTROLA_CAPTURE_PRINTER\" with the $arch Kestrola.exe..."
set +e
wine "$build/Kestrola.exe" "${args[@]}"
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
