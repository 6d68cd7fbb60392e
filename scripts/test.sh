#!/usr/bin/env bash
# Every test: the formatting and clang-tidy check, the native build under CTest (simulator, core), the same tests
# again under AddressSanitizer and UndefinedBehaviorSanitizer (build-asan/),
# a bounded libFuzzer run of the fuzz targets (build-fuzz/, 20 s, all at once), then
# the 64-bit Windows build with its tests under Wine on a private screen and
# prefix, and the 32-bit DLL, checked statically.
set -euo pipefail
cd "$(dirname "$0")/.."
# Each phase's start, in seconds since the run began, for finding what a slow run spent its time on.
phase() { echo "== $1 (at ${SECONDS} s)"; }
phase "native build"
scripts/build.sh
phase lint
scripts/lint.sh
phase "native tests"
ctest --test-dir build --output-on-failure -j"$(nproc)"

phase "sanitizer build and tests"
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DROWTINT_SANITIZE=ON >/dev/null
cmake --build build-asan -j"$(nproc)"
# The storms run at full length above; under the sanitizers, which slow them
# tenfold, a shorter run of the same seeds.
UBSAN_OPTIONS=print_stacktrace=1 ROWTINT_STORM_LINES=500 ctest --test-dir build-asan --output-on-failure -j"$(nproc)"
phase fuzzing
scripts/fuzz.sh 20

# The 32-bit DLL compiles while the 64-bit tests wait on Wine and the
# private screen; the package test, on a Wine prefix and screen of its own,
# runs beside the ones that share the session.
phase "64-bit Windows build"
scripts/build-windows.sh win64
phase "64-bit Windows tests under Wine, 32-bit build beside them"
mkdir -p build-win32
scripts/build-windows.sh win32 Rowtint >build-win32/build.log 2>&1 &
win32_build=$!
win64_rc=0
ctest --test-dir build-win64 --output-on-failure -j2 || win64_rc=$?
wait "$win32_build" || { cat build-win32/build.log; exit 1; }
[ "$win64_rc" -eq 0 ] || exit "$win64_rc"
phase "32-bit static checks"
ctest --test-dir build-win32 --output-on-failure
phase done
