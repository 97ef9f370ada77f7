# Sourced by the end-to-end scripts in tests/e2e: drive the real Kestrola.exe as a user
# would, with xdotool on the suite's Xvfb, and read back what it did.
# The script's $1 is the build folder.
set -euo pipefail
e2e_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
. "$e2e_root/scripts/wine-env.sh" "$1"
e2e_name=$(basename "$0" .sh)
e2e_artifacts="$KESTROLA_BUILD_DIR/artifacts/$e2e_name"
mkdir -p "$e2e_artifacts"
e2e_key='HKCU\Software\MorrowickDesign\Kestrola'
e2e_theme_key='HKCU\Software\Microsoft\Windows\CurrentVersion\ThemeManager'
e2e_failures=0
e2e_pid=
# KESTROLA_E2E_DPI=144 (or 120, 192) runs the script at that display scale: "LogPixels" is set
# for the programs it starts, clicks land where the controls are at that scale, and the
# screenshots are named with the scale ("start-on-150.png").
e2e_dpi=${KESTROLA_E2E_DPI:-96}
e2e_shot_suffix=
[ "$e2e_dpi" == 96 ] || e2e_shot_suffix="-$((e2e_dpi * 100 / 96))"
e2e_at() { echo "$(( ($1 * e2e_dpi + 48) / 96 ))"; }

if [ -z "${DISPLAY:-}" ]; then
    echo "$e2e_name: SKIPPED (no display: run through scripts/test.sh)"
    exit 0
fi

e2e_fail() {
    echo "  FAIL: $*"
    e2e_failures=$((e2e_failures + 1))
}

e2e_check() {  # e2e_check DESCRIPTION EXPECTED ACTUAL
    if [ "$2" == "$3" ]; then
        echo "  ok: $1"
    else
        e2e_fail "$1: expected [$2], got [$3]"
    fi
}

# The program's settings, saved at the start and put back at the end.
e2e_saved_settings="$e2e_artifacts/settings-before.reg"
rm -f "$e2e_saved_settings"
wine reg export "$e2e_key" "$(winepath -w "$e2e_saved_settings")" >/dev/null 2>&1 || true
e2e_restore() {
    [ -n "$e2e_pid" ] && kill "$e2e_pid" 2>/dev/null || true
    wine reg delete "$e2e_key" /f >/dev/null 2>&1 || true
    if [ -s "$e2e_saved_settings" ]; then
        wine reg import "$(winepath -w "$e2e_saved_settings")" >/dev/null 2>&1 || true
    fi
    e2e_set_theme on
    e2e_set_offline off
    e2e_set_dpi 96
}
trap e2e_restore EXIT

# The default capture printer marked "Use Printer Offline" (on) or not (off): its queue then
# holds a job for the program, and Wine prints it all the same.
e2e_printer_key='HKLM\System\CurrentControlSet\Control\Print\Printers\Kestrola Capture'
e2e_set_offline() {
    local attributes=64  # a local queue
    [ "$1" == on ] && attributes=1088  # and "work offline"
    wine reg add "$e2e_printer_key" /v Attributes /t REG_DWORD /d $attributes /f >/dev/null
}

e2e_set_dpi() {
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null
}
e2e_set_dpi "$e2e_dpi"

e2e_clear_settings() { wine reg delete "$e2e_key" /f >/dev/null 2>&1 || true; }
e2e_set_dword() { wine reg add "$e2e_key" /v "$1" /t REG_DWORD /d "$2" /f >/dev/null; }
e2e_text() {  # a text value whole, in UTF-8 (reg export writes UTF-16), or <none>
    local file="$e2e_artifacts/value.reg" text
    rm -f "$file"
    wine reg export "$e2e_key" "$(winepath -w "$file")" >/dev/null 2>&1 || true
    text=$( (iconv -f UTF-16 -t UTF-8 "$file" 2>/dev/null || true) | tr -d '\r' |
        sed -n -E "s/^\"$1\"=\"(.*)\"\$/\1/p" | sed 's/\\\\/\\/g')
    echo "${text:-<none>}"
}

# Visual styles for processes started from now on: on (Wine's light theme) or off.
e2e_set_theme() {
    if [ "$1" == on ]; then
        wine reg add "$e2e_theme_key" /v ThemeActive /t REG_SZ /d 1 /f >/dev/null
    else
        wine reg add "$e2e_theme_key" /v ThemeActive /t REG_SZ /d 0 /f >/dev/null
    fi
}

# The start of one round of a script: the look for the programs started next, no settings
# and no earlier job at the capture printer.
e2e_begin_theme() {
    echo "Theme $1:"
    e2e_set_theme "$1"
    e2e_clear_settings
    rm -f "$KESTROLA_CAPTURE_FILE"
}

# Starts Kestrola.exe with an optional file argument (a Windows path) in the background.
e2e_start() {
    if [ $# -gt 0 ]; then
        wine "$KESTROLA_BUILD_DIR/Kestrola.exe" "$1" </dev/null >/dev/null 2>&1 &
    else
        wine "$KESTROLA_BUILD_DIR/Kestrola.exe" </dev/null >/dev/null 2>&1 &
    fi
    e2e_pid=$!
}

# Waits for the program to end; its exit status goes to e2e_status (255 for -1, "running"
# when it did not end and was killed).
e2e_status=
e2e_wait_exit() {
    e2e_status=0
    for _ in $(seq 200); do
        kill -0 "$e2e_pid" 2>/dev/null || break
        sleep 0.1
    done
    if kill -0 "$e2e_pid" 2>/dev/null; then
        kill "$e2e_pid" 2>/dev/null || true
        e2e_status=running
    fi
    wait "$e2e_pid" 2>/dev/null || [ "$e2e_status" == running ] || e2e_status=$?
    e2e_pid=
}

# Waits for a visible window whose title is exactly $1; prints its X id.
e2e_window() {
    local id
    id=$(timeout 20 xdotool search --sync --onlyvisible --name "^$1\$" 2>/dev/null | head -n1) || true
    echo "$id"
}

# The wizard's client origin on the screen: Wine draws the frame itself (unmanaged), as
# wide on the left, right and bottom, with the caption above; the client area is 450 x 218
# at 96 DPI and that times the scale at others.
e2e_client_origin() {
    local border
    eval "$(xdotool getwindowgeometry --shell "$1")"
    border=$(( (WIDTH - $(e2e_at 450)) / 2 ))
    echo "$((X + border)) $((Y + HEIGHT - $(e2e_at 218) - border))"
}

# Clicks at client coordinates of window $1.
e2e_click() {
    local origin
    read -r -a origin <<< "$(e2e_client_origin "$1")"
    xdotool mousemove "$((origin[0] + $(e2e_at "$2")))" "$((origin[1] + $(e2e_at "$3")))" click 1
    sleep 0.3
}

# A character missing from the keyboard map is typed through a key that xdotool maps for it
# and unmaps again; with too short a delay Wine may read the key after the map changed back,
# and the character is lost. Such text gets a longer delay ($2, in milliseconds).
e2e_type() { xdotool type --delay "${2:-20}" "$1"; sleep 0.3; }

# Saves a screenshot of window $1 as $2.png in the artefacts folder.
e2e_shot() {
    sleep 0.4
    eval "$(xdotool getwindowgeometry --shell "$1")"
    import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$e2e_artifacts/$2$e2e_shot_suffix.png"
}

# Waits until no visible window has the title $1.
e2e_window_gone() {
    for _ in $(seq 100); do
        xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1 || return 0
        sleep 0.1
    done
    return 1
}

# Keys typed into whichever window has the keyboard focus.
e2e_press() {
    for key in "$@"; do
        xdotool key "$key"
        sleep 0.25
    done
}

# Gives window $1 the keyboard focus.
e2e_focus() { xdotool windowfocus --sync "$1" 2>/dev/null || xdotool windowfocus "$1"; sleep 0.2; }

# Where things are on the wizard, in client coordinates of the 458 x 244 frame
# (its client area is 450 x 218).
e2e_send_button="244 52"
e2e_next_slot="399 198"      # "Exit" on the start page, "Print >" and "Exit" later
e2e_file_box="200 45"


e2e_verdict() {
    if [ "$e2e_failures" -eq 0 ]; then
        echo "$e2e_name: PASS"
        exit 0
    fi
    echo "$e2e_name: FAIL ($e2e_failures checks failed; screenshots in $e2e_artifacts)"
    exit 1
}
