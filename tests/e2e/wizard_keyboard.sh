#!/usr/bin/env bash
# The wizard from the keyboard, in both looks. On the start page Tab goes round "Exit", the
# two image buttons and "About..."; "About..." opens the About box, which OK closes. "Configure automatic printing" with the warning answered
# "Yes" makes a file given on the command line print at once, with no window.
# Usage: wizard_keyboard.sh BUILD_DIR
. "$(dirname "$0")/../../scripts/e2e-lib.sh"

sample="$e2e_root/samples/report.pcl"

for theme in on off; do
    e2e_begin_theme "$theme"
    e2e_start
    w=$(e2e_window "Morrowick Kestrola")
    [ -n "$w" ] || { e2e_fail "no wizard window"; continue; }
    e2e_focus "$w"
    e2e_press Tab shift+Tab shift+Tab space  # the first image button, "Exit", "About..."
    a=$(e2e_window About)
    [ -n "$a" ] || { e2e_fail "Shift+Tab from Exit did not reach About..."; continue; }
    e2e_shot "$a" "about-$theme"
    e2e_focus "$a"
    e2e_press Return
    e2e_window_gone About || e2e_fail "OK did not close the About box"
    e2e_focus "$w"
    e2e_press Tab Tab Tab space  # from "About...": "Exit", "Send a file...", "Configure..."
    d=$(e2e_window "Kestrola Configuration")
    [ -n "$d" ] || { e2e_fail "Tab from About... did not reach Configure"; continue; }
    e2e_focus "$d"
    e2e_press Down  # "Automatically send file to the following printer:"
    e2e_shot "$d" "configure-$theme"
    e2e_press Return
    warning=$(e2e_window "Warning")
    [ -n "$warning" ] || { e2e_fail "no warning"; continue; }
    e2e_shot "$warning" "warning-$theme"
    e2e_focus "$warning"
    e2e_press shift+Tab space  # from "No", which has the focus, to "Yes"
    e2e_window_gone "Kestrola Configuration" || e2e_fail "the configuration dialog stayed open"
    e2e_check "AutoPrint" "0x1" "$(e2e_value AutoPrint)"
    e2e_check "AutoPrintPrinter" "$KESTROLA_CAPTURE_PRINTER" "$(e2e_value AutoPrintPrinter)"
    e2e_focus "$w"
    e2e_press shift+Tab space  # back from "Configure...": "Send a file to the printer"
    e2e_shot "$w" "after-keys-$theme"
    e2e_check "Shift+Tab reaches Send a file" "120,120,120" "$(e2e_pixel "after-keys-$theme" $e2e_printer_ink)"
    e2e_press Escape
    e2e_wait_exit
    e2e_check "Esc ends the wizard with 0" "0" "$e2e_status"

    e2e_start "$(winepath -w "$sample")"
    e2e_wait_exit
    e2e_check "automatic printing ends with 0" "0" "$e2e_status"
    e2e_check "no window was shown" "" "$(xdotool search --onlyvisible --name Kestrola 2>/dev/null || true)"
    e2e_check "bytes at the capture printer" "$(cat "$sample" <(printf '\f') | sha256sum)" \
        "$(sha256sum < "$KESTROLA_CAPTURE_FILE" 2>/dev/null)"
done
e2e_verdict
