#!/usr/bin/env bash
# "Configure automatic printing": choose automatic printing on the capture printer, accept
# the warning with "Yes", and from then on a file given on the command line is printed
# with no window at all.
# Usage: wizard_configure.sh BUILD_DIR
. "$(dirname "$0")/../../scripts/e2e-lib.sh"

sample="$e2e_root/samples/report.pcl"
for theme in on off; do
    e2e_begin_theme "$theme"

    e2e_start
    w=$(e2e_window "Morrowick Kestrola")
    [ -n "$w" ] || { e2e_fail "no wizard window"; continue; }
    e2e_click "$w" $e2e_configure_button
    d=$(e2e_window "Kestrola Configuration")
    [ -n "$d" ] || { e2e_fail "no configuration dialog"; continue; }
    e2e_focus "$d"
    e2e_press Down            # "Automatically send file to the following printer:"
    e2e_shot "$d" "configure-$theme"
    e2e_press Return          # OK
    warning=$(e2e_window "Warning")
    [ -n "$warning" ] || { e2e_fail "no warning"; continue; }
    e2e_shot "$warning" "warning-$theme"
    e2e_focus "$warning"
    e2e_press shift+Tab space  # from "No", which has the focus, to "Yes"
    e2e_window_gone "Kestrola Configuration" || e2e_fail "the configuration dialog stayed open"
    e2e_check "AutoPrint" "0x1" "$(e2e_value AutoPrint)"
    e2e_check "AutoPrintPrinter" "$KESTROLA_CAPTURE_PRINTER" "$(e2e_value AutoPrintPrinter)"
    e2e_focus "$w"
    e2e_press Escape
    e2e_wait_exit
    e2e_check "Esc on the start page ends the wizard with 0" "0" "$e2e_status"

    e2e_start "$(winepath -w "$sample")"
    e2e_wait_exit
    e2e_check "automatic printing ends with 0" "0" "$e2e_status"
    e2e_check "no window was shown" "" \
        "$(xdotool search --onlyvisible --name 'Kestrola' 2>/dev/null || true)"
    e2e_check "bytes at the capture printer" "$(cat "$sample" <(printf '\f') | sha256sum)" \
        "$(sha256sum < "$KESTROLA_CAPTURE_FILE" 2>/dev/null)"
done
e2e_verdict
