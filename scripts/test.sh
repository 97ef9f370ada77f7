#!/usr/bin/env bash
# Builds everything and runs every test under Wine, windows drawn on a private Xvfb: the
# whole suite against the x64 build under 64-bit Wine, then against the x86 build under
# 32-bit Wine where this machine can run 32-bit programs.
# Usage: scripts/test.sh [ctest arguments...]
#        KESTROLA_NO_X86=1 scripts/test.sh   behaves as on a machine without 32-bit support
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${KESTROLA_BUILD:-$root/build}
"$root/scripts/build.sh" "$build"
. "$root/scripts/arch.sh"
if [ -n "$kestrola_x86_skipped" ]; then
    echo "Testing the x64 build; x86 build not run: $kestrola_x86_skipped"
else
    echo "Testing the x64 and x86 builds"
fi

. "$root/scripts/start-xvfb.sh"
trap kestrola_stop_xvfb EXIT
display=$DISPLAY
status=0
passed=0
failed=0
for arch in "${kestrola_runnable_archs[@]}"; do
    (
        . "$root/scripts/wine-env.sh" "$build/$arch"
        export DISPLAY=$display
        "$root/scripts/prepare-prefix.sh" "$build/$arch"
        cd "$build/$arch"
        echo "== $arch build"
        ctest --output-on-failure "$@" | tee "$build/$arch/ctest.log"
        exit "${PIPESTATUS[0]}"
    ) || status=1
    (. "$root/scripts/wine-env.sh" "$build/$arch" && wineserver -k 2>/dev/null) || true
    line=$(grep -E '^[0-9]+% tests passed, [0-9]+ tests failed out of [0-9]+' "$build/$arch/ctest.log" | tail -n1 || true)
    if [ -n "$line" ]; then
        total=$(sed -E 's/.* out of ([0-9]+).*/\1/' <<<"$line")
        bad=$(sed -E 's/.*passed, ([0-9]+) tests failed.*/\1/' <<<"$line")
        passed=$((passed + total - bad))
        failed=$((failed + bad))
    fi
done
echo "Total: $passed passed, $failed failed"
exit $status
