#!/usr/bin/env bash
# The About form's Help link in the stand-in Excel under Wine, with an
# explorer.exe planted in the current folder as one downloaded next to a
# workbook would be: the add-in starts the Windows folder's explorer by its
# full path, as the program and as the first word of the command line.
#   planted_explorer_test.sh SESSION HOST_EXE PLANTED_EXE OUT
set -euo pipefail
session=$1 host=$2 planted=$3 out=$4
here=$(cd "$(dirname "$0")" && pwd)
rm -rf "$out"
mkdir -p "$out/downloads"
cp "$planted" "$out/downloads/explorer.exe"
printf 'click About\nform click Label10\nstate\n' >"$out/help_link.txt"
cd "$out/downloads"
output=$(bash "$here/wine_session.sh" run "$session" wine "$host" run "$out/help_link.txt" --out "$out/run")
python3 - "$output" <<'PY'
import json, sys
state = [json.loads(line) for line in sys.argv[1].splitlines() if line.startswith("{")][-1]
applications, lines = state["launchedApplications"], state["launched"]
assert len(applications) == 1 and applications[0].lower() == "c:\\windows\\explorer.exe", applications
assert lines[0].lower().startswith('"c:\\windows\\explorer.exe" "'), lines
print("the Help link started", applications[0], "with", lines[0])
PY
