#!/usr/bin/env bash
# Every test: build, then run the whole suite under CTest.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
ctest --test-dir build --output-on-failure -j"$(nproc)"
