#!/usr/bin/env bash
# Sending a file from the wizard, in both looks: a typed path on the file page, then a file
# given on the command line while automatic printing is off. Each is printed with
# "Print >", shows the success page and ends with "Exit".
# Usage: wizard_send_file.sh BUILD_DIR
. "$(dirname "$0")/../../scripts/e2e-lib.sh"

typed=$(winepath -w "$e2e_root/samples/label.zpl")
given=$(winepath -w "$e2e_root/samples/page.ps")

# Prints what the file page holds and leaves with "Exit"; $1 is the file the box must hold.
print_and_exit() {
    rm -f "$KESTROLA_CAPTURE_FILE"
    e2e_click "$w" $e2e_next_slot
    for _ in $(seq 50); do [ -f "$KESTROLA_CAPTURE_FILE" ] && break; sleep 0.1; done
    e2e_shot "$w" "printed-$theme"
    e2e_check "success picture" "68,168,75" "$(e2e_pixel "printed-$theme" $e2e_result_ink)"
    e2e_check "bytes at the capture printer" "$(cat "$(winepath -u "$1")" <(printf '\f') | sha256sum)" \
        "$(sha256sum < "$KESTROLA_CAPTURE_FILE" 2>/dev/null)"
    e2e_click "$w" $e2e_next_slot
    e2e_wait_exit
    e2e_check "Exit ends the program with 0" "0" "$e2e_status"
    e2e_check "the file is the first recent one" "$1" "$(e2e_value RecentFile_00)"
    e2e_check "LastPrinterName" "$KESTROLA_CAPTURE_PRINTER" "$(e2e_value LastPrinterName)"
}

for theme in on off; do
    e2e_begin_theme "$theme"
    e2e_start
    w=$(e2e_window "Morrowick Kestrola")
    [ -n "$w" ] || { e2e_fail "no wizard window"; continue; }
    e2e_shot "$w" "start-$theme"
    e2e_click "$w" $e2e_send_button
    e2e_click "$w" $e2e_file_box
    e2e_press ctrl+a
    e2e_type "$typed"
    e2e_shot "$w" "file-page-$theme"
    e2e_check "printer picture on the file page" "120,120,120" "$(e2e_pixel "file-page-$theme" $e2e_printer_ink)"
    print_and_exit "$typed"

    e2e_set_dword AutoPrint 0
    e2e_start "$given"
    w=$(e2e_window "Morrowick Kestrola")
    [ -n "$w" ] || { e2e_fail "no wizard window"; continue; }
    e2e_shot "$w" "given-$theme"
    e2e_check "a file given opens the file page" "120,120,120" "$(e2e_pixel "given-$theme" $e2e_printer_ink)"
    print_and_exit "$given"
done
e2e_verdict
