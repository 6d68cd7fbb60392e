#!/usr/bin/env bash
# Cross-builds Rowtint.dll for 64-bit Windows (build-win64/, with the
# Windows-side tests, which run under Wine) and for 32-bit Windows
# (build-win32/, the DLL alone: 32-bit Wine does not run here) with mingw-w64.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
for arch in x86_64:win64:ON i686:win32:OFF; do
  IFS=: read -r triple name tests <<<"$arch"
  # The stand-in comparisons play each script in the native simulator too, when it is built.
  sim=()
  [ "$tests" = ON ] && [ -x build/rowtint-sim ] && sim=(-DROWTINT_SIM="$PWD/build/rowtint-sim")
  cmake -S . -B "build-$name" -DCMAKE_TOOLCHAIN_FILE="cmake/mingw-$triple.cmake" -DCMAKE_BUILD_TYPE=Release \
    -DROWTINT_TESTS="$tests" "${sim[@]}" >/dev/null
  cmake --build "build-$name" -j"$(nproc)"
done
