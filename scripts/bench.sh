#!/usr/bin/env bash
# Benchmark: automatic printing by Kestrola.exe against bench/SpoolFloor.exe, the least a
# spooler client can do, both printing to the capture printer of the project's Wine prefix
# under one warm Wine server. Times and peak working sets are taken from the Win32 side by
# bench/BenchLauncher.exe. Ends with a 2.5 GiB file through Kestrola.exe, checked byte for
# byte by checksum. Not part of the tests.
# Usage: scripts/bench.sh    (BENCH_RUNS=N: timed runs per program and size, default 20, at least 10;
#                             BENCH_QUICK=1: the 1 KiB file only, no large file, for exploring)
# Every build this machine runs is measured (x64, and x86 where 32-bit programs run);
# KESTROLA_BENCH_ARCH=x64 or x86 measures one. Each table is printed and kept in
# BUILD/ARCH/bench/results.md.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${KESTROLA_BUILD:-$root/build}
runs=${BENCH_RUNS:-20}
quick=${BENCH_QUICK:-0}
memory_runs=3
if [ "$runs" -lt 10 ]; then
    echo "bench.sh: BENCH_RUNS must be at least 10" >&2
    exit 2
fi

# Each build this machine can run is measured on its own, against a floor built for the
# same architecture (KESTROLA_BENCH_ARCH=x64 or x86 measures one).
if [ -z "${KESTROLA_BENCH_ARCH:-}" ]; then
    "$root/scripts/build.sh" "$build"
    . "$root/scripts/arch.sh"
    [ -z "$kestrola_x86_skipped" ] || echo "x86 build not measured: $kestrola_x86_skipped" >&2
    status=0
    for arch in "${kestrola_runnable_archs[@]}"; do
        KESTROLA_BENCH_ARCH=$arch "$0" || status=1
    done
    exit $status
fi
arch=$KESTROLA_BENCH_ARCH
root_build=$build
build=$build/$arch
[ -f "$build/Kestrola.exe" ] || "$root/scripts/build.sh" "$root_build"
. "$root/scripts/wine-env.sh" "$build"
export KESTROLA_NO_XVFB=1
. "$root/scripts/start-xvfb.sh"
"$root/scripts/prepare-prefix.sh" "$build"

data="$build/bench/data"
mkdir -p "$data"
results="$build/bench/results.md"
key='HKCU\Software\MorrowickDesign\Kestrola'
saved="$data/saved-settings.reg"
had_key=0
if wine reg export "$key" "$(winepath -w "$saved")" /y >/dev/null 2>&1; then
    had_key=1
fi

cleanup() {
    rm -f "$data"/*.prn "$KESTROLA_CAPTURE_FILE"
    wine reg delete "$key" /f >/dev/null 2>&1 || true
    if [ "$had_key" = 1 ]; then
        wine reg import "$(winepath -w "$saved")" >/dev/null 2>&1 || true
    fi
    rm -f "$saved"
    kestrola_stop_xvfb
}
trap cleanup EXIT

wine reg delete "$key" /f >/dev/null 2>&1 || true
wine reg add "$key" /v AutoPrint /t REG_DWORD /d 1 /f >/dev/null
wine reg add "$key" /v SuppressErrors /t REG_DWORD /d 1 /f >/dev/null
wine reg add "$key" /v AutoPrintPrinter /t REG_SZ /d "$KESTROLA_CAPTURE_PRINTER" /f >/dev/null

win_build=$(winepath -w "$build")
win_capture=$(winepath -w "$KESTROLA_CAPTURE_FILE")
kestrola="\"$win_build\\Kestrola.exe\""
floor="\"$win_build\\bench\\SpoolFloor.exe\" \"$KESTROLA_CAPTURE_PRINTER\""

# The capture must hold the file's bytes and then exactly one form feed.
check_capture() {  # FILE BYTES
    [ "$(stat -c %s "$KESTROLA_CAPTURE_FILE")" = $(($2 + 1)) ] &&
        cmp -s -n "$2" "$1" "$KESTROLA_CAPTURE_FILE" &&
        [ "$(tail -c 1 "$KESTROLA_CAPTURE_FILE" | od -An -tx1 | tr -d ' ')" = 0c ]
}

mib() { awk -v b="$1" 'BEGIN { printf "%.1f", b / 1048576 }'; }

load_before=$(cut -d' ' -f1-3 /proc/loadavg)
rows=()
# Smaller files take less time and more noise from a busy machine: they get more runs.
sizes=("1 KiB:1024:5" "1 MiB:1048576:5" "64 MiB:67108864:3" "512 MiB:536870912:1")
[ "$quick" = 1 ] && sizes=("${sizes[0]}")
for size_entry in "${sizes[@]}"; do
    IFS=: read -r label bytes factor <<<"$size_entry"
    size_runs=$((runs * factor))
    file="$data/bench-$bytes.prn"
    head -c "$bytes" /dev/urandom > "$file"
    win_file=$(winepath -w "$file")

    for program in "$kestrola" "$floor"; do
        rm -f "$KESTROLA_CAPTURE_FILE"
        eval "wine $program \"\$win_file\"" </dev/null >/dev/null 2>&1 || true
        if ! check_capture "$file" "$bytes"; then
            echo "bench.sh: $program did not deliver the $label file byte for byte" >&2
            exit 1
        fi
    done

    sync  # the previous size's writes are not left to the disk during these runs
    echo "Timing $label: $size_runs runs each..." >&2
    out=$(wine "$build/bench/BenchLauncher.exe" "$size_runs" "$memory_runs" "$win_capture" $((bytes + 1)) \
        "kestrola=$kestrola \"$win_file\"" "floor=$floor \"$win_file\"" </dev/null)
    rm -f "$file" "$KESTROLA_CAPTURE_FILE"
    read -r _ _ _ k_min k_med k_peak _ <<<"$(grep '^result kestrola ' <<<"$out")"
    read -r _ _ _ f_min f_med f_peak _ <<<"$(grep '^result floor ' <<<"$out")"
    read -r _ _ paired <<<"$(grep '^paired kestrola ' <<<"$out")"
    rows+=("$(awk -v l="$label" -v n="$size_runs" -v b="$bytes" -v km="$k_min" -v kd="$k_med" -v fm="$f_min" \
        -v fd="$f_med" -v p="$paired" -v kp="$k_peak" -v fp="$f_peak" 'BEGIN {
        printf "| %s | %d | %.1f / %.1f | %.1f / %.1f | %.3f | %.3f | %.3f | %.1f | %.1f | %+.2f | %.1f |",
            l, n, km, kd, fm, fd, km / fm, kd / fd, p, kp / 1048576, fp / 1048576,
            (kp - fp) / 1048576, (kp - b) / 1048576 }')")
done

# A file past the largest one buffered whole (2 GiB): streamed, checked by checksum, not kept.
big_bytes=$((2560 * 1048576))
big_line="not run: less than 8 GiB free on the disk"
free_kib=$(df -Pk "$data" | awk 'NR == 2 { print $4 }')
[ "$quick" = 1 ] && big_line="not run (BENCH_QUICK=1)" && free_kib=0
if [ "$free_kib" -gt $((8 * 1048576)) ]; then
    echo "Streaming a 2.5 GiB file through Kestrola.exe..." >&2
    big="$data/bench-big.prn"
    head -c "$big_bytes" /dev/urandom > "$big"
    sum_in=$(sha256sum < "$big" | cut -d' ' -f1)
    out=$(wine "$build/bench/BenchLauncher.exe" 0 1 "$win_capture" $((big_bytes + 1)) \
        "kestrola=$kestrola \"$(winepath -w "$big")\"" </dev/null)
    rm -f "$big"
    sum_out=$(head -c "$big_bytes" "$KESTROLA_CAPTURE_FILE" | sha256sum | cut -d' ' -f1)
    last=$(tail -c 1 "$KESTROLA_CAPTURE_FILE" | od -An -tx1 | tr -d ' ')
    rm -f "$KESTROLA_CAPTURE_FILE"
    read -r _ _ _ _ _ big_peak big_ms <<<"$(grep '^result kestrola ' <<<"$out")"
    verdict=$([ "$sum_in" = "$sum_out" ] && [ "$last" = 0c ] && echo "byte-exact" || echo "NOT byte-exact")
    big_line="$verdict (SHA-256 $sum_in), peak working set $(mib "$big_peak") MiB, $(awk -v m="$big_ms" 'BEGIN { printf "%.1f", m / 1000 }') s"
fi
load_after=$(cut -d' ' -f1-3 /proc/loadavg)
compiler=$([ "$arch" = x64 ] && echo x86_64 || echo i686)-w64-mingw32-g++-posix
compiler="$compiler $("$compiler" -dumpfullversion 2>/dev/null)"

# The size that counts is that of the file users get: the one the release zip carries.
zip=$(ls "$root_build"/release/Kestrola-*.zip)
if unzip -p "$zip" "$arch/Kestrola.exe" | cmp -s - "$build/Kestrola.exe"; then
    shipped_check="the same bytes as in $(basename "$zip")"
else
    shipped_check="NOT the file in $(basename "$zip")"
fi

{
    echo "Timed runs of each program per size as listed (after one warm-up run each), the two"
    echo "programs alternating; then $memory_runs further runs each sampling the peak working set every"
    echo "millisecond. Times are from CreateProcess to the end of the process."
    echo
    echo "| File | Runs | Kestrola ms min / median | Floor ms min / median | Ratio of mins | Ratio of medians | Median paired ratio | Kestrola peak WS MiB | Floor peak WS MiB | Kestrola − floor MiB | Kestrola peak − file size MiB |"
    echo "|---|---|---|---|---|---|---|---|---|---|---|"
    printf '%s\n' "${rows[@]}"
    echo
    echo "2.5 GiB file through Kestrola.exe: $big_line"
    echo
    echo "$arch Kestrola.exe: $(stat -c %s "$build/Kestrola.exe") bytes as shipped ($shipped_check)."
    echo
    echo "Machine: $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), $(nproc) cores," \
        "$(awk '/MemTotal/ { printf "%.1f GiB", $2 / 1048576 }' /proc/meminfo) RAM," \
        "Linux $(uname -r), $(. /etc/os-release && echo "$PRETTY_NAME"), $(wine --version)," \
        "$arch build ($WINEARCH prefix), $compiler."
    echo "Load average before: $load_before; after: $load_after. Date: $(date -u '+%Y-%m-%d %H:%M UTC')."
} > "$results"
cat "$results"
