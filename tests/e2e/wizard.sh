#!/usr/bin/env bash
# Every user flow of the real Kestrola.exe, once in each look: from the keyboard, "About..."
# and "Configure automatic printing" (Tab goes round "Exit", the two image buttons and
# "About..."; the warning answered "Yes"); "Send a file to the printer" with a path typed
# outside the ANSI code page (Cyrillic in one look; in the other a name whose best fit in the
# code page names another file), then pasted in quotes;
# automatic printing of a file given on the command line, with no window; and, with
# automatic printing off, a file given on the command line opening the file page and printed
# to a printer marked offline.
# Usage: wizard.sh BUILD_DIR
. "$(dirname "$0")/../../scripts/e2e-lib.sh"

# Typed by real key events: the box must get every character, not its best fit.
names="$e2e_artifacts/names"
rm -rf "$names" && mkdir -p "$names" && printf '^XA^FDMetka^FS^XZ' > "$names/Метка склад.zpl"
printf 'omega job\n' > "$names/Ωmega.prn" && printf 'the wrong file\n' > "$names/Omega.prn"
given=$(winepath -w "$e2e_root/samples/page.ps")
automatic=$(winepath -w "$e2e_root/samples/report.pcl")

expect_job_of() {  # the capture printer holds exactly the file's bytes and a form feed
    e2e_check "bytes at the capture printer" "$(cat "$(winepath -u "$1")" <(printf '\f') | sha256sum)" \
        "$(sha256sum < "$KESTROLA_CAPTURE_FILE" 2>/dev/null)"
}

# On the file page: "Print >", the success page (shot as $2), "Exit".
print_and_exit() {
    rm -f "$KESTROLA_CAPTURE_FILE"
    e2e_click "$w" $e2e_next_slot
    for _ in $(seq 50); do [ -f "$KESTROLA_CAPTURE_FILE" ] && break; sleep 0.1; done
    e2e_shot "$w" "${2:-printed}-$theme"
    expect_job_of "$1"
    echo "  captured: $(od -An -c "$KESTROLA_CAPTURE_FILE" | tr -s ' \n' ' ')"
    e2e_click "$w" $e2e_next_slot
    e2e_wait_exit
    e2e_check "Exit ends the program with 0" "0" "$e2e_status"
    e2e_check "the file is the first recent one, without quotes" "$1" "$(e2e_text RecentFile_00)"
}

for theme in on off; do
    e2e_begin_theme "$theme"
    e2e_start
    w=$(e2e_window "Morrowick Kestrola")
    [ -n "$w" ] || { e2e_fail "no wizard window"; continue; }
    e2e_shot "$w" "start-$theme"
    [ "$e2e_dpi$theme" != 96off ] || e2e_check "the start page at 100 % as before" 0 \
        "$(compare -metric AE "$e2e_artifacts/start-off.png" "$e2e_root/docs/start-classic.png" /dev/null 2>&1)"
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
    warning=$(e2e_window Warning)
    e2e_shot "$warning" "warning-$theme"
    e2e_focus "$warning"
    e2e_press shift+Tab space  # from "No", which has the focus, to "Yes"
    e2e_window_gone "Kestrola Configuration" || e2e_fail "the configuration dialog stayed open"

    e2e_click "$w" $e2e_send_button
    e2e_click "$w" $e2e_file_box
    e2e_press ctrl+a
    # Pasted in quotes as Explorer copies a path, with blanks around them in the second look.
    if [ "$theme" == on ]; then name="Метка склад.zpl"; else name="Ωmega.prn"; fi
    typed=$(winepath -w "$names/$name")
    if [ "$theme" == on ]; then blanks=""; else blanks="  "; fi
    e2e_type "$blanks\"${typed%"$name"}"  # the folder quickly, the name key by key
    e2e_type "$name\"$blanks" 400
    e2e_press ctrl+a ctrl+x ctrl+v
    e2e_shot "$w" "file-page-$theme"
    print_and_exit "$typed"

    e2e_start "$automatic"
    e2e_wait_exit
    e2e_check "automatic printing ends with 0" "0" "$e2e_status"
    expect_job_of "$automatic"

    e2e_set_dword AutoPrint 0
    e2e_set_offline on
    e2e_start "$given"
    w=$(e2e_window "Morrowick Kestrola")
    e2e_shot "$w" "given-$theme"
    print_and_exit "$given" printed-offline
    e2e_set_offline off
done
e2e_verdict
