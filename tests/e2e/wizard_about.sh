#!/usr/bin/env bash
# The About box from the "About..." button and from the window menu's "About...": it opens
# over the wizard, closes with OK or Esc, and the wizard goes on.
# Usage: wizard_about.sh BUILD_DIR
. "$(dirname "$0")/../../scripts/e2e-lib.sh"

for theme in on off; do
    e2e_begin_theme "$theme"
    e2e_start
    w=$(e2e_window "Morrowick Kestrola")
    [ -n "$w" ] || { e2e_fail "no wizard window"; continue; }

    e2e_click "$w" $e2e_about_button
    a=$(e2e_window "About")
    e2e_check "the About button opens the About box" "yes" "$([ -n "$a" ] && echo yes || echo no)"
    if [ -n "$a" ]; then
        e2e_shot "$a" "about-$theme"
        e2e_focus "$a"
        e2e_press Return   # OK
        e2e_window_gone "About" || e2e_fail "OK did not close the About box"
    fi

    # The window menu, opened with Alt+Space; "About..." follows "Maximize" and a separator.
    e2e_focus "$w"
    e2e_press alt+space
    e2e_shot "$w" "window-menu-$theme"
    e2e_click "$w" 40 112
    a=$(e2e_window "About")
    e2e_check "the window menu's About... opens the About box" "yes" "$([ -n "$a" ] && echo yes || echo no)"
    if [ -n "$a" ]; then
        e2e_focus "$a"
        e2e_press Escape
        e2e_window_gone "About" || e2e_fail "Esc did not close the About box"
    fi

    e2e_check "the wizard is still open" "yes" \
        "$([ -n "$(xdotool search --onlyvisible --name '^Morrowick Kestrola$' 2>/dev/null)" ] && echo yes || echo no)"
    e2e_focus "$w"
    e2e_press Escape
    e2e_wait_exit
    e2e_check "Esc then ends the program with 0" "0" "$e2e_status"
done
e2e_verdict
