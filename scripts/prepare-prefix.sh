#!/usr/bin/env bash
# Creates (once) and warms the private Wine prefix of BUILD_DIR (32- or 64-bit, as built):
# headless-capable windows, no host CUPS, the Wine fonts, and two capture printers whose
# jobs land in files under BUILD_DIR/capture. "Kestrola Capture" is the default printer.
# Usage: scripts/prepare-prefix.sh BUILD_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "${1:?build directory}"
. "$here/wine-env.sh" "$1"
mkdir -p "$KESTROLA_CAPTURE_DIR"

if [ ! -f "$WINEPREFIX/.kestrola-ready" ]; then
    echo "Creating the Wine prefix in $WINEPREFIX"
    wineserver -k 2>/dev/null || true
    rm -rf "$WINEPREFIX"
    wineboot -i </dev/null >/dev/null 2>&1
    wineserver -w

    # Wine does not find its own fonts by itself; without them captions render wrongly.
    fonts="$WINEPREFIX/drive_c/windows/Fonts"
    mkdir -p "$fonts"
    for f in /usr/share/wine/fonts/*; do
        [ -e "$f" ] && ln -sf "$f" "$fonts/"
    done

    reg="$KESTROLA_BUILD_DIR/prefix-settings.reg"
    {
        echo 'REGEDIT4'
        echo
        echo '[HKEY_CURRENT_USER\Software\Wine\Drivers]'
        echo '"Graphics"="x11,null"'
        echo
        echo '[HKEY_CURRENT_USER\Software\Wine\X11 Driver]'
        echo '"Managed"="N"'
        echo
        echo '[HKEY_CURRENT_USER\Software\Wine\WineDbg]'
        echo '"ShowCrashDialog"=dword:00000000'
        echo
    } > "$reg"
    "$here/capture-printer.sh" "$1" add "$KESTROLA_CAPTURE_PRINTER" "$KESTROLA_CAPTURE_FILE" >> "$reg"
    "$here/capture-printer.sh" "$1" add "$KESTROLA_CAPTURE_PRINTER2" "$KESTROLA_CAPTURE_FILE2" >> "$reg"
    "$here/capture-printer.sh" "$1" default "$KESTROLA_CAPTURE_PRINTER" "$KESTROLA_CAPTURE_FILE" >> "$reg"
    wine regedit /S "$(winepath -w "$reg")" </dev/null >/dev/null 2>&1
    wineserver -w
    touch "$WINEPREFIX/.kestrola-ready"
fi

# Wine's background processes inherit the pipes of whoever starts them first: start them
# here, detached, so that no test waits for them.
wineserver -p </dev/null >/dev/null 2>&1
wine cmd /c exit </dev/null >/dev/null 2>&1
