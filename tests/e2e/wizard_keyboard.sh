#!/usr/bin/env bash
# The start page from the keyboard alone: Tab from "Exit" goes to the two image buttons,
# then to "About...", then back to "Exit" (each stop proved by pressing Space on it), and
# Shift+Tab walks the same way back; Esc closes the program.
# Usage: wizard_keyboard.sh BUILD_DIR
. "$(dirname "$0")/../../scripts/e2e-lib.sh"

# Starts the wizard, puts the focus on "Exit" (Shift+Tab from the first image button), then
# presses the keys given; prints what Space then did.
after_keys() {
    e2e_start
    local w
    w=$(e2e_window "Morrowick Kestrola")
    [ -n "$w" ] || { echo "no window"; return; }
    e2e_focus "$w"
    e2e_press Tab shift+Tab "$@" space
    sleep 0.5
    if [ -n "$(xdotool search --onlyvisible --name '^Kestrola Configuration$' 2>/dev/null)" ]; then
        echo "configure"
    elif [ -n "$(xdotool search --onlyvisible --name '^About$' 2>/dev/null)" ]; then
        echo "about"
    elif ! kill -0 "$e2e_pid" 2>/dev/null; then
        echo "exit"
    else
        e2e_shot "$w" "after-keys"
        if [ "$(e2e_pixel after-keys $e2e_printer_ink)" == "120,120,120" ]; then
            echo "send"
        else
            echo "nothing"
        fi
    fi
    [ -n "$e2e_pid" ] && kill "$e2e_pid" 2>/dev/null
    wait "$e2e_pid" 2>/dev/null || true
    e2e_pid=
    sleep 0.5
}

for theme in on off; do
    e2e_begin_theme "$theme"
    e2e_check "Space on the first stop (Exit)" exit "$(after_keys)"
    e2e_check "Tab from Exit: Send a file to the printer" send "$(after_keys Tab)"
    e2e_check "then Configure automatic printing" configure "$(after_keys Tab Tab)"
    e2e_check "then About..." about "$(after_keys Tab Tab Tab)"
    e2e_check "then back to Exit" exit "$(after_keys Tab Tab Tab Tab)"
    e2e_check "Shift+Tab from Exit: About..." about "$(after_keys shift+Tab)"
    e2e_check "then Configure automatic printing" configure "$(after_keys shift+Tab shift+Tab)"

    e2e_start
    w=$(e2e_window "Morrowick Kestrola")
    e2e_focus "$w"
    e2e_press Escape
    e2e_wait_exit
    e2e_check "Esc on the start page ends the program with 0" "0" "$e2e_status"
done
e2e_verdict
