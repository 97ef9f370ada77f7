#!/usr/bin/env bash
# A user with no file on the command line: the start page, "Send a file to the printer",
# a path pasted in quotes as Explorer copies it (with blanks around them in the second
# round), "Print >", the success page and "Exit" - with the light theme and without.
# Usage: wizard_send_file.sh BUILD_DIR
. "$(dirname "$0")/../../scripts/e2e-lib.sh"

sample="$e2e_root/samples/label.zpl"
sample_windows=$(winepath -w "$sample")
for theme in on off; do
    e2e_begin_theme "$theme"

    e2e_start
    w=$(e2e_window "Morrowick Kestrola")
    [ -n "$w" ] || { e2e_fail "no wizard window"; continue; }
    e2e_shot "$w" "start-$theme"
    e2e_check "emblem in the strip" drawn "$(e2e_area "start-$theme" 10 150 30 20)"
    e2e_check "no printer picture on the start page" "255,255,255" "$(e2e_pixel "start-$theme" $e2e_printer_ink)"
    e2e_check "strip's upper edge line" "185,185,185" "$(e2e_pixel "start-$theme" 225 178)"
    e2e_check "strip's lower edge line" "142,142,142" "$(e2e_pixel "start-$theme" 225 179)"
    # The bar holds "About..." at the left and "Exit" in the rightmost slot, nothing else.
    e2e_check "nothing in the Cancel slot" blank "$(e2e_area "start-$theme" 189 188 73 21)"
    e2e_check "nothing in the Back slot" blank "$(e2e_area "start-$theme" 276 188 73 21)"
    e2e_check "Exit in the rightmost slot" drawn "$(e2e_area "start-$theme" 363 188 73 21)"
    e2e_check "About... at the left" drawn "$(e2e_area "start-$theme" 8 188 73 21)"

    e2e_click "$w" $e2e_send_button
    e2e_shot "$w" "file-page-$theme"
    e2e_check "printer picture on the file page" "120,120,120" "$(e2e_pixel "file-page-$theme" $e2e_printer_ink)"

    e2e_click "$w" $e2e_file_box
    e2e_press ctrl+a
    if [ "$theme" == on ]; then quoted="\"$sample_windows\""; else quoted="  \"$sample_windows\" "; fi
    e2e_type "$quoted"
    e2e_press ctrl+a ctrl+x  # through the clipboard, as a pasted path arrives
    e2e_press ctrl+v
    e2e_shot "$w" "file-typed-$theme"
    e2e_click "$w" $e2e_next_slot
    for _ in $(seq 50); do [ -f "$KESTROLA_CAPTURE_FILE" ] && break; sleep 0.1; done
    e2e_shot "$w" "printed-$theme"
    e2e_check "success picture" "68,168,75" "$(e2e_pixel "printed-$theme" $e2e_result_ink)"
    e2e_check "bytes at the capture printer" "$(cat "$sample" <(printf '\f') | sha256sum)" \
        "$(sha256sum < "$KESTROLA_CAPTURE_FILE" 2>/dev/null)"

    e2e_click "$w" $e2e_next_slot
    e2e_wait_exit
    e2e_check "Exit ends the program with 0" "0" "$e2e_status"
    e2e_check "LastPrinterName" "$KESTROLA_CAPTURE_PRINTER" "$(e2e_value LastPrinterName)"
    e2e_check "RecentFile_00" "$sample_windows" "$(e2e_value RecentFile_00)"
    e2e_check "no LastError" "<none>" "$(e2e_value LastError)"
done
e2e_verdict
