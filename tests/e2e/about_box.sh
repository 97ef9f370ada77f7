#!/usr/bin/env bash
# The About box on the screen of Xvfb: the printer picture drawn without its magenta, and
# Escape from the real keyboard that ends the box with 0. The screenshot of the box is left
# as BUILD/screenshots/about.png.
# Usage: about_box.sh BUILD_DIR
set -euo pipefail
build=$(cd "${1:?build directory}" && pwd)
root=$(cd "$(dirname "$0")/../.." && pwd)
. "$root/scripts/wine-env.sh" "$build"
fail() {
    echo "e2e.about_box: FAIL: $*"
    exit 1
}
[ -n "${DISPLAY:-}" ] || fail "no display (run it through scripts/test.sh)"
work=$(mktemp -d)
pid=
trap '[ -n "$pid" ] && kill "$pid" 2>/dev/null; rm -rf "$work"' EXIT
layout="$work/layout.txt"

retry() { # retry N COMMAND...: up to N tries, a tenth of a second apart
    local n=$1
    shift
    for _ in $(seq "$n"); do "$@" && return 0; sleep 0.1; done
    return 1
}
rect() { awk -v n="$1" '$1 == n { print $4 - $2 "x" $5 - $3 "+" $2 "+" $3 }' "$layout"; }
# How many pixels of the picture's area are of a colour ("p{x,y}": that pixel's colour).
count() {
    convert "$work/root.png" -crop "$(rect picture)" +repage -alpha off -fill black +opaque "$1" \
        -fill white -opaque "$1" -format '%[fx:round(mean*w*h)]' info:
}
background() { awk '$1 == "picture" { print $2 - 3, $3 + 50 }' "$layout"; }
# Painted once most of the picture's area differs from the box's background beside it.
painted() {
    import -window root "$work/root.png"
    read -r x y <<<"$(background)"
    [ "$(count "$(convert "$work/root.png" -format "%[pixel:p{$x,$y}]" info:)")" -lt 6000 ]
}

wine "$build/tests/about_preview.exe" "$(winepath -w "$layout")" </dev/null >/dev/null 2>&1 &
pid=$!
retry 300 test -s "$layout" || fail "the box never opened"
retry 300 painted || fail "the printer picture was never drawn"
mkdir -p "$build/screenshots"
convert "$work/root.png" -crop "$(rect box)" +repage "$build/screenshots/about.png"
magenta=$(count '#FF00FF')
[ "$magenta" -eq 0 ] || fail "$magenta magenta pixels show around the printer"

xdotool key Escape
retry 300 bash -c "! kill -0 $pid 2>/dev/null" || fail "Escape did not close the box"
status=0
wait "$pid" || status=$?
pid=
[ "$status" -eq 0 ] || fail "the box ended with $status"
echo "e2e.about_box: PASS (printer drawn without magenta, Escape ended the box with 0)"
