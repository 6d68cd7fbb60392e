#!/usr/bin/env bash
# Cross-builds Rowtint.dll, its Windows-side tests and the stand-in Excel for
# 64-bit Windows (build-win64/, whose tests run under Wine) and for 32-bit
# Windows (build-win32/: compiled and checked statically, since 32-bit Wine
# does not run here) with mingw-w64.
set -euo pipefail
cd "$(dirname "$0")/.."
# `build-windows.sh win64` or `build-windows.sh win32` builds one of them;
# a target after it (`build-windows.sh win32 Rowtint`) builds only that.
scripts/setup.sh
archs=(x86_64:win64 i686:win32)
case "${1:-}" in
win64) archs=(x86_64:win64) ;;
win32) archs=(i686:win32) ;;
"") ;;
*) echo "usage: $0 [win64|win32 [TARGET]]" >&2; exit 2 ;;
esac
for arch in "${archs[@]}"; do
  IFS=: read -r triple name <<<"$arch"
  # The stand-in comparisons play each script in the native simulator too, when it is built.
  sim=()
  [ "$name" = win64 ] && [ -x build/rowtint-sim ] && sim=(-DROWTINT_SIM="$PWD/build/rowtint-sim")
  # Files compiled in batches of 16: each batch reads windows.h and the
  # platform headers once, which takes most of the time of a file.
  cmake -S . -B "build-$name" -DCMAKE_TOOLCHAIN_FILE="cmake/mingw-$triple.cmake" -DCMAKE_BUILD_TYPE=Release \
    -DROWTINT_TESTS=ON -DCMAKE_UNITY_BUILD=ON -DCMAKE_UNITY_BUILD_BATCH_SIZE=16 "${sim[@]}" >/dev/null
  cmake --build "build-$name" -j"$(nproc)" ${2:+--target "$2"}
done
