#!/usr/bin/env bash
# Benchmark: automatic printing by Kestrola.exe against bench/SpoolFloor.exe, the least a
# spooler client can do, both printing to the capture printer of the project's Wine prefix
# under one warm Wine server. Times and peak working sets are taken from the Win32 side by
# bench/BenchLauncher.exe. Ends with a 2.5 GiB file through Kestrola.exe, checked byte for
# byte by checksum. Not part of the tests.
# Usage: scripts/bench.sh    (BENCH_RUNS=N: timed rounds per size, default 20, at least 10;
#                             BENCH_QUICK=1: the 1 KiB file only, no large file, for exploring)
# Every build this machine runs is measured (x64, and x86 where 32-bit programs run);
# KESTROLA_BENCH_ARCH=x64 or x86 measures one. KESTROLA_BENCH_BASELINE=PATH also times an
# older Kestrola.exe in the same rounds, so that a change is measured against the program
# it replaces: PATH is that exe (of the measured architecture) or a folder holding
# ARCH/Kestrola.exe, as bench/baseline.sh COMMIT builds it. Each round runs every program
# once, each order of them in turn. Each table is printed and kept in
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
programs=("kestrola=$kestrola" "floor=$floor")
baseline_exe=
if [ -n "${KESTROLA_BENCH_BASELINE:-}" ]; then
    baseline_exe=$KESTROLA_BENCH_BASELINE
    [ -d "$baseline_exe" ] && baseline_exe=$baseline_exe/$arch/Kestrola.exe
    machine=$([ "$arch" = x64 ] && echo x86-64 || echo i386)
    if ! x86_64-w64-mingw32-objdump -f "$baseline_exe" 2>/dev/null | grep -q "pei-$machine"; then
        echo "bench.sh: KESTROLA_BENCH_BASELINE: $baseline_exe is no $arch Kestrola.exe" >&2
        exit 2
    fi
    baseline_exe=$(cd "$(dirname "$baseline_exe")" && pwd)/$(basename "$baseline_exe")
    programs=("kestrola=$kestrola" "baseline=\"$(winepath -w "$baseline_exe")\"" "floor=$floor")
fi

# The capture must hold the file's bytes and then exactly one form feed.
check_capture() {  # FILE BYTES
    [ "$(stat -c %s "$KESTROLA_CAPTURE_FILE")" = $(($2 + 1)) ] &&
        cmp -s -n "$2" "$1" "$KESTROLA_CAPTURE_FILE" &&
        [ "$(tail -c 1 "$KESTROLA_CAPTURE_FILE" | od -An -tx1 | tr -d ' ')" = 0c ]
}

mib() { awk -v b="$1" 'BEGIN { printf "%.1f", b / 1048576 }'; }

load_before=$(cut -d' ' -f1-3 /proc/loadavg)
rows=()
baseline_rows=()
# Smaller files take less time and more noise from a busy machine: they get more runs.
sizes=("1 KiB:1024:5" "1 MiB:1048576:5" "64 MiB:67108864:3" "512 MiB:536870912:1")
[ "$quick" = 1 ] && sizes=("${sizes[0]}")
for size_entry in "${sizes[@]}"; do
    IFS=: read -r label bytes factor <<<"$size_entry"
    size_runs=$((runs * factor))
    file="$data/bench-$bytes.prn"
    head -c "$bytes" /dev/urandom > "$file"
    win_file=$(winepath -w "$file")

    commands=()
    for entry in "${programs[@]}"; do
        rm -f "$KESTROLA_CAPTURE_FILE"
        eval "wine ${entry#*=} \"\$win_file\"" </dev/null >/dev/null 2>&1 || true
        if ! check_capture "$file" "$bytes"; then
            echo "bench.sh: ${entry#*=} did not deliver the $label file byte for byte" >&2
            exit 1
        fi
        commands+=("$entry \"$win_file\"")
    done

    sync  # the previous size's writes are not left to the disk during these runs
    echo "Timing $label: $size_runs rounds of ${#programs[@]} programs..." >&2
    load_size=$(cut -d' ' -f1 /proc/loadavg)
    out=$(wine "$build/bench/BenchLauncher.exe" "$size_runs" "$memory_runs" "$win_capture" $((bytes + 1)) \
        "${commands[@]}" </dev/null)
    load_size="$load_size / $(cut -d' ' -f1 /proc/loadavg)"
    rm -f "$file" "$KESTROLA_CAPTURE_FILE"
    read -r _ _ rounds k_min k_med k_peak _ <<<"$(grep '^result kestrola ' <<<"$out")"
    read -r _ _ _ f_min f_med f_peak _ <<<"$(grep '^result floor ' <<<"$out")"
    read -r _ _ _ paired _ k_first _ f_first _ <<<"$(grep '^paired kestrola floor ' <<<"$out")"
    rows+=("$(awk -v l="$label" -v n="$rounds" -v b="$bytes" -v km="$k_min" -v kd="$k_med" -v fm="$f_min" \
        -v fd="$f_med" -v p="$paired" -v p1="$k_first" -v p2="$f_first" -v kp="$k_peak" \
        -v fp="$f_peak" -v load="$load_size" 'BEGIN {
        printf "| %s | %d | %.1f / %.1f | %.1f / %.1f | %.3f | %.3f | %.3f | %.3f / %.3f | %.1f | %.1f | %+.2f | %.1f | %s |",
            l, n, km, kd, fm, fd, km / fm, kd / fd, p, p1, p2, kp / 1048576, fp / 1048576,
            (kp - fp) / 1048576, (kp - b) / 1048576, load }')")
    if [ -n "$baseline_exe" ]; then
        read -r _ _ _ b_min b_med b_peak _ <<<"$(grep '^result baseline ' <<<"$out")"
        read -r _ _ _ pb _ pb1 _ pb2 _ <<<"$(grep '^paired kestrola baseline ' <<<"$out")"
        read -r _ _ _ bf _ <<<"$(grep '^paired baseline floor ' <<<"$out")"
        baseline_rows+=("$(awk -v l="$label" -v n="$rounds" -v bm="$b_min" -v bd="$b_med" -v p="$pb" \
            -v p1="$pb1" -v p2="$pb2" -v bf="$bf" -v kp="$k_peak" -v bp="$b_peak" -v fp="$f_peak" \
            -v load="$load_size" 'BEGIN {
            printf "| %s | %d | %.1f / %.1f | %.3f | %.3f / %.3f | %.3f | %+.2f | %+.2f | %s |",
                l, n, bm, bd, p, p1, p2, bf, (kp - bp) / 1048576, (bp - fp) / 1048576, load }')")
    fi
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
    echo "Timed rounds per size as listed (after one warm-up run each); each round runs every"
    echo "program once, each order of them in turn; then $memory_runs further runs each sampling the peak"
    echo "working set every millisecond. Times are from CreateProcess to the end of the process."
    echo "A median paired ratio is the median over the rounds of one program's time divided by the"
    echo "other's in the same round; \"first\" splits the rounds by which of the two ran first."
    echo "Load: the 1-minute load average before / after the size's rounds."
    echo
    echo "| File | Rounds | Kestrola ms min / median | Floor ms min / median | Ratio of mins | Ratio of medians | Median paired ratio | Kestrola first / floor first | Kestrola peak WS MiB | Floor peak WS MiB | Kestrola − floor MiB | Kestrola peak − file size MiB | Load |"
    echo "|---|---|---|---|---|---|---|---|---|---|---|---|---|"
    printf '%s\n' "${rows[@]}"
    echo
    if [ -n "$baseline_exe" ]; then
        echo "Baseline: $baseline_exe ($(stat -c %s "$baseline_exe") bytes), in the same rounds."
        echo
        echo "| File | Rounds | Baseline ms min / median | Kestrola ÷ baseline: median paired ratio | Kestrola first / baseline first | Baseline ÷ floor | Kestrola − baseline peak MiB | Baseline − floor peak MiB | Load |"
        echo "|---|---|---|---|---|---|---|---|---|"
        printf '%s\n' "${baseline_rows[@]}"
        echo
    fi
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
