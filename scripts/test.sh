#!/usr/bin/env bash
# Every test: the formatting and clang-tidy check, the native build under CTest (simulator, core), the 64-bit
# Windows build with its tests under Wine on a private screen and prefix, the native tests again under
# AddressSanitizer and UndefinedBehaviorSanitizer (build-asan/), a bounded libFuzzer run of the fuzz targets
# (build-fuzz/, 30 s, all at once), and the 32-bit DLL, checked statically.
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

phase "64-bit Windows build"
scripts/build-windows.sh win64
# The Windows tests spend most of their time waiting on Wine and the private
# screen: they run in the background (the package test, on a prefix and
# screen of its own, beside the ones that share the session) while the
# sanitizer build and tests and the fuzzing use the processors. Their output
# follows once they are done.
phase "64-bit Windows tests under Wine, in the background"
ctest --test-dir build-win64 --output-on-failure -j2 >build-win64/tests.log 2>&1 &
win64_tests=$!
# A failure here ends the run: the tests in the background end with it.
trap 'pkill -P "$win64_tests" 2>/dev/null; kill "$win64_tests" 2>/dev/null || true' EXIT

phase "sanitizer build and tests"
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DROWTINT_SANITIZE=ON >/dev/null
cmake --build build-asan -j"$(nproc)"
# The storms run at full length above; under the sanitizers, which slow them
# tenfold, a shorter run of the same seeds.
UBSAN_OPTIONS=print_stacktrace=1 ROWTINT_STORM_LINES=500 ctest --test-dir build-asan --output-on-failure -j"$(nproc)"
phase fuzzing
scripts/fuzz.sh 30
phase "32-bit DLL build"
scripts/build-windows.sh win32 Rowtint

phase "waiting for the 64-bit Windows tests"
win64_rc=0
wait "$win64_tests" || win64_rc=$?
trap - EXIT
cat build-win64/tests.log
[ "$win64_rc" -eq 0 ] || exit "$win64_rc"
phase "32-bit static checks"
ctest --test-dir build-win32 --output-on-failure
phase done
