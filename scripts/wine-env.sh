# Sourced by the harness scripts: the environment of a build folder's private Wine prefix,
# with the Wine that runs the folder's architecture (read from BUILD_DIR/kestrola-arch).
# Usage: . scripts/wine-env.sh BUILD_DIR
kestrola_build_dir=$(cd "${1:?build directory}" && pwd)
export KESTROLA_BUILD_DIR="$kestrola_build_dir"
kestrola_arch=$(cat "$kestrola_build_dir/kestrola-arch" 2>/dev/null || echo x86)
export WINEPREFIX="$kestrola_build_dir/wineprefix"
if [ "$kestrola_arch" = x64 ]; then
    # Debian's wine and wine-stable start the 32-bit loader whenever it is installed,
    # even where it cannot run; wineboot, regedit and the other wrappers call wine-stable.
    # Both names lead to the 64-bit loader here.
    export WINEARCH=win64
    export WINELOADER=/usr/lib/wine/wine64
    kestrola_wine_bin="$kestrola_build_dir/wine64-bin"
    if [ ! -x "$kestrola_wine_bin/wine-stable" ]; then
        mkdir -p "$kestrola_wine_bin"
        printf '#!/bin/sh\nexec /usr/lib/wine/wine64 "$@"\n' > "$kestrola_wine_bin/wine"
        chmod +x "$kestrola_wine_bin/wine"
        ln -sf wine "$kestrola_wine_bin/wine-stable"
    fi
    case ":$PATH:" in
        *":$kestrola_wine_bin:"*) ;;
        *) export PATH="$kestrola_wine_bin:$PATH" ;;
    esac
else
    export WINEARCH=win32
    unset WINELOADER
fi
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# A socket that does not exist: the host's CUPS printers never reach the prefix.
export CUPS_SERVER="$kestrola_build_dir/no-cups.sock"
export KESTROLA_CAPTURE_DIR="$kestrola_build_dir/capture"
# The capture printers, by name, and the files their jobs land in.
export KESTROLA_CAPTURE_PRINTER="Kestrola Capture"
export KESTROLA_CAPTURE_FILE="$KESTROLA_CAPTURE_DIR/kestrola-capture.prn"
export KESTROLA_CAPTURE_PRINTER2="Kestrola Capture 2"
export KESTROLA_CAPTURE_FILE2="$KESTROLA_CAPTURE_DIR/kestrola-capture-2.prn"
