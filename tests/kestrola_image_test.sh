#!/usr/bin/env bash
# Kestrola.exe as built: an image for the build's own machine, large-address aware (so a
# large file still fits in one buffer), importing only KnownDLLs, which the system never
# looks for beside the program, and neither the common-dialog nor the shell library: the
# wizard binds those when it first needs them, and automatic printing starts without them.
# Usage: kestrola_image_test.sh OBJDUMP KESTROLA_EXE x86|x64
headers=$("$1" -p "$2") || exit 1
format=$(sed -n 's/.*file format //p' <<<"$headers")
imports=" $(sed -n 's/^\s*DLL Name: //p' <<<"$headers" | tr 'A-Z' 'a-z' | paste -sd' ') "
known=" advapi32.dll gdi32.dll imm32.dll kernel32.dll msvcrt.dll ole32.dll oleaut32.dll shlwapi.dll user32.dll ws2_32.dll "
large=$(grep -c 'large address aware' <<<"$headers")
echo "$format, large-address aware: $large, imports:$imports"
status=0
[ "$format" = "$([ "$3" = x64 ] && echo pei-x86-64 || echo pei-i386)" ] || status=1
[ "$large" -gt 0 ] || status=1
[[ $imports == *" kernel32.dll "* ]] || status=1
for name in $imports; do
    [[ $known == *" $name "* ]] || { echo "not a KnownDLL, or bound too early: $name"; status=1; }
done
exit $status
