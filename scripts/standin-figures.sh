#!/usr/bin/env bash
# Soak and latency figures of the real 64-bit Rowtint.dll in the stand-in
# Excel under Wine, on the grid surface and then on the overlay, next to the
# simulator's selection change from the same run. Arguments go to
# `rowtint-host figures` (--selections, --cycles, --latency, --wheels, --repaints).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh >/dev/null
scripts/build-windows.sh >/dev/null
echo "simulator:"
build/bench/rowtint_bench --benchmark_filter=BM_SelectionChange --benchmark_min_time=0.5 2>/dev/null | grep BM_
dir=$(mktemp -d)
trap 'bash tests/win32/wine_session.sh stop "$dir" >/dev/null; rm -rf "$dir"' EXIT
bash tests/win32/wine_session.sh start "$dir" >/dev/null
bash tests/win32/registration_test.sh register "$dir" build-win64/src/server/Rowtint.dll >/dev/null
echo "stand-in Excel with the x64 DLL under Wine:"
bash tests/win32/wine_session.sh run "$dir" wine build-win64/tools/rowtint-host/rowtint-host.exe figures --out "$dir" "$@"
