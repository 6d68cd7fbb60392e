#!/usr/bin/env bash
# Every test: the native build under CTest (simulator, core), then both
# Windows builds, the 64-bit one's tests under Wine on a private screen and
# prefix, the 32-bit one's checked statically.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
scripts/build-windows.sh
ctest --test-dir build --output-on-failure -j"$(nproc)"
ctest --test-dir build-win64 --output-on-failure
ctest --test-dir build-win32 --output-on-failure
