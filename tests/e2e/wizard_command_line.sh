#!/usr/bin/env bash
# A file given on the command line, in its short form, while automatic printing is off:
# the wizard opens on the file page with the file's full long path, and prints it.
# Usage: wizard_command_line.sh BUILD_DIR
. "$(dirname "$0")/../../scripts/e2e-lib.sh"

folder="$e2e_artifacts/Long Folder Name"
mkdir -p "$folder"
sample="$folder/Sample PostScript Page.ps"
cp "$e2e_root/samples/page.ps" "$sample"
long=$(winepath -w "$sample")
short=$(wine "$KESTROLA_BUILD_DIR/tests/short_path.exe" "$long" | tr -d '\r')
[ -n "$short" ] && [ "$short" != "$long" ] || e2e_fail "no short form of $long (got [$short])"

for theme in on off; do
    e2e_begin_theme "$theme"
    e2e_set_dword AutoPrint 0
    rm -f "$KESTROLA_CAPTURE_FILE"

    e2e_start "$short"
    w=$(e2e_window "Morrowick Kestrola")
    [ -n "$w" ] || { e2e_fail "no wizard window"; continue; }
    e2e_shot "$w" "file-page-$theme"
    e2e_check "opens on the file page (printer picture)" "120,120,120" \
        "$(e2e_pixel "file-page-$theme" $e2e_printer_ink)"
    e2e_check "nothing printed before Print" "no" "$([ -f "$KESTROLA_CAPTURE_FILE" ] && echo yes || echo no)"

    # What the file box held is what "Print >" sends and remembers.
    e2e_click "$w" $e2e_next_slot
    for _ in $(seq 50); do [ -f "$KESTROLA_CAPTURE_FILE" ] && break; sleep 0.1; done
    e2e_check "the box held the full long path" "$long" "$(e2e_value RecentFile_00)"
    e2e_check "bytes at the capture printer" "$(cat "$sample" <(printf '\f') | sha256sum)" \
        "$(sha256sum < "$KESTROLA_CAPTURE_FILE" 2>/dev/null)"
    e2e_click "$w" $e2e_next_slot
    e2e_wait_exit
    e2e_check "Exit ends the program with 0" "0" "$e2e_status"
done
e2e_verdict
