#!/usr/bin/env bash
# Builds the libFuzzer targets (fuzz/) with clang++ into build-fuzz/ and runs
# each for a bounded time, starting from its corpus in fuzz/corpus/<target>/.
#   scripts/fuzz.sh [SECONDS] [--keep]
# SECONDS per target (default 20). New inputs go to a scratch folder; with
# --keep, those that reach new code are merged into fuzz/corpus/. An input that
# fails is saved under out/fuzz/ and the script fails.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=20 keep=0
for arg in "$@"; do
  case $arg in
    --keep) keep=1 ;;
    *[!0-9]* | "") echo "usage: scripts/fuzz.sh [SECONDS] [--keep]" >&2; exit 2 ;;
    *) seconds=$arg ;;
  esac
done
targets=(setting_text address_split script_reader)

cmake -S . -B build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Debug -DROWTINT_FUZZ=ON >/dev/null
cmake --build build-fuzz -j"$(nproc)" --target "${targets[@]/#/fuzz_}"

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir -p out/fuzz
for target in "${targets[@]}"; do
  corpus=fuzz/corpus/$target
  mkdir -p "$scratch/$target"
  # Small inputs, and a bound on each one's time and memory: a hang or a
  # runaway allocation is a finding like a crash.
  options=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -malloc_limit_mb=1024
           -artifact_prefix="out/fuzz/$target-")
  case $target in
    script_reader) options+=(-max_len=512 -dict=fuzz/script_reader.dict) ;;
    *) options+=(-max_len=64) ;;
  esac
  log=out/fuzz/$target.log
  if ! "build-fuzz/fuzz/fuzz_$target" "${options[@]}" "$scratch/$target" "$corpus" >"$log" 2>&1; then
    grep -v '^#[0-9]' "$log" | tail -n 40
    echo "fuzz_$target: failing input saved as $(ls -t out/fuzz/"$target"-* 2>/dev/null | head -n 1)" >&2
    exit 1
  fi
  echo "fuzz_$target: $(grep -E '^#[0-9]+.*DONE' "$log" | tail -n 1)"
  if ((keep)); then
    "build-fuzz/fuzz/fuzz_$target" -merge=1 -use_counters=0 "${options[@]:1}" "$corpus" "$scratch/$target" >>"$log" 2>&1
  fi
done
