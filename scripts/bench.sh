#!/usr/bin/env bash
# The benchmarks: time and platform calls of one paint and one selection change.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
build/bench/rowtint_bench --benchmark_min_time=0.5
