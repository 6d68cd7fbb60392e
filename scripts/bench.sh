#!/usr/bin/env bash
# The benchmarks: time and platform calls of an idle timer tick, one paint and
# one selection change, and the share of the grid window an in-view move repaints.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
build/bench/rowtint_bench --benchmark_min_time=0.5 "$@"
