#!/usr/bin/env bash
# Runs rowtint-sim on a script and checks that every line of the .expect
# file beside it appears in what the program printed.
set -u
sim=$1 script=$2 out=$3
output=$("$sim" run "$script" --out "$out") || { echo "rowtint-sim exited with $?"; exit 1; }
status=0
while IFS= read -r line; do
  [ -z "$line" ] && continue
  if ! grep -qF -- "$line" <<<"$output"; then
    echo "missing from the output: $line"
    status=1
  fi
done <"${script%.txt}.expect"
[ $status -eq 0 ] || printf -- '--- output ---\n%s\n' "$output"
exit $status
