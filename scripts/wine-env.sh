# Sourced by the harness scripts: the environment of the project's private Wine prefix.
# Usage: . scripts/wine-env.sh BUILD_DIR
kestrola_build_dir=$(cd "${1:?build directory}" && pwd)
export KESTROLA_BUILD_DIR="$kestrola_build_dir"
export WINEPREFIX="$kestrola_build_dir/wineprefix"
export WINEARCH=win32
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
