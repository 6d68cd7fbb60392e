#!/usr/bin/env bash
# Builds the libFuzzer targets (fuzz/) with clang++ into build-fuzz/ and runs
# them all at once for a bounded time, each from its corpus in fuzz/corpus/<target>/.
#   scripts/fuzz.sh [SECONDS] [--keep]
# SECONDS (default 20). New inputs go to a scratch folder; with
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

# Runs one target; its log goes to out/fuzz/<target>.log.
fuzz() {
  local target=$1 corpus=fuzz/corpus/$1
  mkdir -p "$scratch/$target"
  # Small inputs, and a bound on each one's time and memory: a hang or a
  # runaway allocation is a finding like a crash.
  local options=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -malloc_limit_mb=1024
                 -artifact_prefix="out/fuzz/$target-")
  case $target in
    script_reader) options+=(-max_len=512 -dict=fuzz/script_reader.dict) ;;
    *) options+=(-max_len=64) ;;
  esac
  "build-fuzz/fuzz/fuzz_$target" "${options[@]}" "$scratch/$target" "$corpus" >"out/fuzz/$target.log" 2>&1 || return 1
  if ((keep)); then
    "build-fuzz/fuzz/fuzz_$target" -merge=1 -use_counters=0 "${options[@]:1}" "$corpus" "$scratch/$target" \
      >>"out/fuzz/$target.log" 2>&1
  fi
}

# All at once: the two text targets are cheap, and the wait is the script reader's.
pids=()
for target in "${targets[@]}"; do
  fuzz "$target" &
  pids+=($!)
done
failed=0
for i in "${!targets[@]}"; do
  target=${targets[$i]} log=out/fuzz/${targets[$i]}.log
  if wait "${pids[$i]}"; then
    echo "fuzz_$target: $(grep -E '^#[0-9]+.*DONE' "$log" | tail -n 1)"
  else
    grep -v '^#[0-9]' "$log" | tail -n 40
    echo "fuzz_$target: failing input saved as $(ls -t out/fuzz/"$target"-* 2>/dev/null | head -n 1)" >&2
    failed=1
  fi
done
exit "$failed"
