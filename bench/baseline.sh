#!/usr/bin/env bash
# Builds an older commit's Kestrola.exe for x86 and x64, as the release builds it, for
# scripts/bench.sh to time beside today's program (KESTROLA_BENCH_BASELINE=OUT). A commit
# from before the x64 build gets the port that build made: the x64 toolchain, window
# procedures replaced through GWLP_WNDPROC, no large-address flag (an i686 linker option).
# Usage: bench/baseline.sh COMMIT [OUT]
#   OUT defaults to build/baseline-COMMIT; it ends up holding x86/Kestrola.exe and
#   x64/Kestrola.exe, and its path is printed last. A program already there is kept.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
commit=$(git -C "$root" rev-parse --short "${1:?usage: bench/baseline.sh COMMIT [OUT]}^{commit}")
out=${2:-$root/build/baseline-$commit}
mkdir -p "$out"
out=$(cd "$out" && pwd)
"$root/scripts/install-packages.sh" >/dev/null

for arch in x86 x64; do
    [ -f "$out/$arch/Kestrola.exe" ] && continue
    source="$out/source-$arch"
    rm -rf "$source"
    git clone -q --shared "$root" "$source"
    git -C "$source" checkout -q "$commit"
    triple=$([ "$arch" = x64 ] && echo x86_64 || echo i686)
    toolchain="$source/cmake/mingw-$triple.cmake"
    if [ ! -f "$toolchain" ]; then
        toolchain="$root/cmake/mingw-$triple.cmake"
        sed -i 's/ -Wl,--large-address-aware//' "$source/CMakeLists.txt"
        sed -i -e 's/GetWindowLongA(\([^,]*\), GWL_WNDPROC)/GetWindowLongPtrA(\1, GWLP_WNDPROC)/' \
            -e 's/SetWindowLongA(\([^,]*\), GWL_WNDPROC, reinterpret_cast<LONG>/SetWindowLongPtrA(\1, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>/' \
            "$source"/toolkit/*.cpp
    fi
    cmake -S "$source" -B "$source/build" -G Ninja --no-warn-unused-cli -DCMAKE_BUILD_TYPE=Release -DKESTROLA_ARCH=$arch \
        -DKESTROLA_TESTS=OFF -DKESTROLA_BENCH=OFF -DCMAKE_TOOLCHAIN_FILE="$toolchain" >/dev/null
    cmake --build "$source/build" --target Kestrola >/dev/null
    mkdir -p "$out/$arch"
    cp "$source/build/Kestrola.exe" "$out/$arch/Kestrola.exe"
    echo "$arch: $(stat -c %s "$out/$arch/Kestrola.exe") bytes, $commit" >&2
done
echo "$out"
