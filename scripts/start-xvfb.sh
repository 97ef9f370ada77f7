# Sourced: starts a private Xvfb for this shell (unless KESTROLA_NO_XVFB is set) and exports
# DISPLAY. Wine fixes its window driver when its server starts, so the server is restarted.
# The caller stops Xvfb with kestrola_stop_xvfb (for example from an EXIT trap).
kestrola_xvfb_pid=
if [ -z "${KESTROLA_NO_XVFB:-}" ]; then
    kestrola_display_file=$(mktemp)
    Xvfb -displayfd 9 -screen 0 1280x1024x24 -nolisten tcp 9>"$kestrola_display_file" \
        </dev/null >/dev/null 2>&1 &
    kestrola_xvfb_pid=$!
    for _ in $(seq 100); do
        [ -s "$kestrola_display_file" ] && break
        sleep 0.1
    done
    export DISPLAY=":$(head -n1 "$kestrola_display_file")"
    rm -f "$kestrola_display_file"
else
    unset DISPLAY
fi
kestrola_stop_xvfb() {
    wineserver -k 2>/dev/null || true
    [ -n "$kestrola_xvfb_pid" ] && kill "$kestrola_xvfb_pid" 2>/dev/null || true
}
wineserver -k 2>/dev/null || true
