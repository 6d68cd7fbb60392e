#!/usr/bin/env bash
# The main job: build, then run the rowtint-sim demo, which writes PNG snapshots to out/demo/.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
build/rowtint-sim demo --out out/demo
ls out/demo
