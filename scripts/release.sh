#!/usr/bin/env bash
# Puts the release together from the two build folders into BUILD_ROOT/release: one
# installer per architecture, a zip with each program in a folder named after its
# architecture (x86/, x64/) beside README.md and LICENSE.txt, and SHA256SUMS of every
# file shipped. Usage: scripts/release.sh BUILD_ROOT
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:?build root}" && pwd)
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/x64/CMakeCache.txt")
release="$build/release"
stage="$build/release-stage"
rm -rf "$release" "$stage"
mkdir -p "$release" "$stage/x86" "$stage/x64"
for arch in x86 x64; do
    cp "$build/$arch/release/Kestrola-$version-$arch-setup.exe" "$release/"
    cp "$build/$arch/Kestrola.exe" "$stage/$arch/"
done
cp "$root/README.md" "$root/LICENSE.txt" "$stage/"
# Fixed dates and order: the same sources give the same zip. -X: no Unix extras.
find "$stage" -exec touch -d '2026-01-01 00:00:00' {} +
(cd "$stage" && zip -q -X -D "$release/Kestrola-$version.zip" README.md LICENSE.txt x86/Kestrola.exe x64/Kestrola.exe)
rm -rf "$stage"
(cd "$release" && sha256sum Kestrola-$version-x86-setup.exe Kestrola-$version-x64-setup.exe \
    Kestrola-$version.zip > SHA256SUMS)
