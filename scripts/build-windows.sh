#!/usr/bin/env bash
# Cross-builds Rowtint.dll and its Windows-side tests for 64-bit Windows
# (build-win64/) and 32-bit Windows (build-win32/) with mingw-w64.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
for arch in x86_64:win64 i686:win32; do
  triple=${arch%%:*} dir=build-${arch##*:}
  # The stand-in comparisons play each script in the native simulator too, when it is built.
  sim=()
  [ -x build/rowtint-sim ] && sim=(-DROWTINT_SIM="$PWD/build/rowtint-sim")
  cmake -S . -B "$dir" -DCMAKE_TOOLCHAIN_FILE="cmake/mingw-$triple.cmake" -DCMAKE_BUILD_TYPE=Release "${sim[@]}" >/dev/null
  cmake --build "$dir" -j"$(nproc)"
done
