#!/usr/bin/env bash
# The house style and a focused static check: every C++ file as .clang-format
# writes it, and clang-tidy's bug-prone, performance and a few core-guideline
# checks clean over the portable core, the simulator and rowtint-sim (the
# Windows side is compiled with mingw-w64's headers, which clang-tidy here
# does not read; its compiler runs with -Wall -Wextra instead).
#   scripts/lint.sh [--fast | --tidy]
# --fast runs what needs no build (format, library loads, includes); --tidy
# only clang-tidy, which reads the native build's compile commands; the
# test command runs clang-tidy beside the tests under Wine, which mostly wait.
set -euo pipefail
cd "$(dirname "$0")/.."
part=${1:-all}
case $part in
  all | --fast | --tidy) ;;
  *) echo "usage: scripts/lint.sh [--fast | --tidy]" >&2; exit 2 ;;
esac

if [ "$part" != --tidy ]; then
mapfile -t sources < <(git ls-files '*.cpp' '*.h' | grep -v '^fuzz/corpus/')
clang-format --dry-run --Werror "${sources[@]}"
echo "clang-format: ${#sources[@]} files as .clang-format writes them"

# No library is loaded by a bare name, which the loader would look for in
# Excel's folder and the current one before the system's: the one helper that
# loads one passes the system-folder flag.
loads=$(git grep -n -E '\bLoadLibrary(A|W|ExA|ExW)?\b' -- src tools | grep -v '^src/platform/win32/system_library\.' || true)
if [ -n "$loads" ]; then
  echo "a library loaded outside system_library.cpp:" >&2
  echo "$loads" >&2
  exit 1
fi
grep -q 'LOAD_LIBRARY_SEARCH_SYSTEM32);' src/platform/win32/system_library.cpp
echo "library loads: only through the system-folder helper"

# The layers as the includes keep them, and no include cycle: no build needed.
python3 scripts/check_includes.py
fi
[ "$part" = --fast ] && exit 0

cmake -S . -B build -DCMAKE_EXPORT_COMPILE_COMMANDS=ON >/dev/null
checks='-*,bugprone-*,performance-*,-bugprone-easily-swappable-parameters,-bugprone-exception-escape'
checks+=',cppcoreguidelines-slicing,cppcoreguidelines-virtual-class-destructor,cppcoreguidelines-init-variables'
mapfile -t tidy < <(git ls-files 'src/engine/*.cpp' 'src/addin/*.cpp' 'src/forms/*.cpp' 'src/platform/sim/*.cpp' \
  'tools/rowtint-sim/*.cpp' 'tools/script/*.cpp')
printf '%s\n' "${tidy[@]}" | xargs -P "$(nproc)" -n 4 clang-tidy -p build --quiet --checks="$checks" \
  --warnings-as-errors='*' 2>/dev/null
echo "clang-tidy: ${#tidy[@]} files clean"
