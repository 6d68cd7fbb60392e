#!/usr/bin/env bash
# Every test: the formatting and include checks, the native build under CTest (simulator, core), the same tests
# again under AddressSanitizer and UndefinedBehaviorSanitizer (build-asan/),
# the 64-bit Windows build with its tests under Wine on a private screen and
# prefix, beside them the 32-bit DLL, a bounded libFuzzer run of the fuzz
# targets (build-fuzz/, 20 s, all at once) and clang-tidy, and the 32-bit DLL
# checked statically.
set -euo pipefail
cd "$(dirname "$0")/.."
# Each phase's start, in seconds since the run began, for finding what a slow run spent its time on.
phase() { echo "== $1 (at ${SECONDS} s)"; }
phase "native build"
scripts/build.sh
phase "lint without a build"
scripts/lint.sh --fast
phase "native tests"
ctest --test-dir build --output-on-failure -j"$(nproc)"

phase "sanitizer build and tests"
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DROWTINT_SANITIZE=ON -DCMAKE_UNITY_BUILD=ON \
  -DCMAKE_UNITY_BUILD_BATCH_SIZE=16 >/dev/null
cmake --build build-asan -j"$(nproc)"
# The storms run at full length above; under the sanitizers, which slow them
# tenfold, a shorter run of the same seeds.
UBSAN_OPTIONS=print_stacktrace=1 ROWTINT_STORM_LINES=500 ctest --test-dir build-asan --output-on-failure -j"$(nproc)"

phase "64-bit Windows build"
scripts/build-windows.sh win64
# The tests under Wine mostly wait on Wine and the private screen: beside them
# the 32-bit DLL compiles, then the fuzz targets build and run. The package
# test, on a Wine prefix and screen of its own, runs beside the ones that share the session.
phase "64-bit Windows tests under Wine; beside them the 32-bit build, the fuzzing and clang-tidy"
mkdir -p build-win32 out
{
  scripts/build-windows.sh win32 Rowtint >build-win32/build.log 2>&1 || exit 1
  scripts/fuzz.sh 20 >out/fuzz-run.log 2>&1 || exit 2
  scripts/lint.sh --tidy >out/tidy.log 2>&1 || exit 3
} &
beside=$!
win64_rc=0
ctest --test-dir build-win64 --output-on-failure -j2 || win64_rc=$?
beside_rc=0
wait "$beside" || beside_rc=$?
case $beside_rc in
  0) cat out/fuzz-run.log out/tidy.log ;;
  1) cat build-win32/build.log; exit 1 ;;
  2) cat out/fuzz-run.log; exit 1 ;;
  *) cat out/tidy.log; exit 1 ;;
esac
[ "$win64_rc" -eq 0 ] || exit "$win64_rc"
phase "32-bit static checks"
ctest --test-dir build-win32 --output-on-failure
phase done
