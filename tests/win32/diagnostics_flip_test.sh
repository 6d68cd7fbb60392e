#!/usr/bin/env bash
# The diagnostics log of the real DLL in the stand-in Excel under Wine, as a
# user who switched it on would send it, from a run whose grid shows nothing
# drawn through a DC (a flip-model swap chain): the connection line, each
# check with the pixels it expected and read, and the band's move to the
# overlay after two misses in a row.
#   diagnostics_flip_test.sh SESSION HOST_EXE OUT
set -euo pipefail
session=$1 host=$2 out=$3
here=$(cd "$(dirname "$0")" && pwd)
rm -rf "$out"
mkdir -p "$out"
# A colour of the test's own, so that what each check expected can be worked
# out from what it read: "Primitive Colors Font" is the colour AND the screen.
colour=8438000
cat >"$out/flip_log.txt" <<SCRIPT
setting RGB RGB-bc $colour
surface auto
renderer flip
set C5 five
select C5
tick 6
state
SCRIPT
# The log goes to the prefix's local application data; the switch is the user's.
bash "$here/wine_session.sh" run "$session" bash -c '
  logs="$WINEPREFIX/drive_c/users"
  find "$logs" -name "rowtint.log*" -delete
  wine reg add "HKCU\Software\Rowtint" /v Diagnostics /t REG_DWORD /d 1 /f >/dev/null
  rc=0
  wine "$1" run "$2" --out "$3/run" >"$3/output.txt" || rc=$?
  wine reg delete "HKCU\Software\Rowtint" /v Diagnostics /f >/dev/null
  cp "$(find "$logs" -name rowtint.log)" "$3/rowtint.log"
  exit $rc' diagnostics "$host" "$out/flip_log.txt" "$out"
python3 - "$out/rowtint.log" "$out/output.txt" "$colour" <<'PY'
import json, re, sys
log = open(sys.argv[1], encoding="utf-8").read().splitlines()
state = [json.loads(line) for line in open(sys.argv[2]) if line.startswith("{")][-1]
colour = int(sys.argv[3])
said = [line.split(" | ")[-1] for line in log]

connected = [i for i, s in enumerate(said) if s.startswith("connected; ")]
assert len(connected) == 1, said
line = said[connected[0]]
assert re.fullmatch(r"connected; Rowtint \d+\.\d+ 64-bit; Windows \d+\.\d+ build \d+; "
                    r"monitors( \[-?\d+,-?\d+,-?\d+,-?\d+\] at \d+ dpi)+; Excel 16\.0 build \d+; surface auto",
                    line), line

check = re.compile(r"check; window (0x[0-9a-f]+); expected((?: [0-9A-F]{6})+); read((?: [0-9A-F]{6})+); (missed|shown)")
checks = [(i, check.fullmatch(s)) for i, s in enumerate(said) if s.startswith("check; ")]
assert all(m for _, m in checks), said
assert len(checks) == 2 == state["surface"]["checks"], (len(checks), state["surface"])
for i, m in checks:
    assert i > connected[0], "a check before the connection line"
    expected, read = m.group(2).split(), m.group(3).split()
    assert 0 < len(read) == len(expected) <= 8, m.group(0)
    # Nothing drawn through the grid's DC shows: the screen keeps the grid's
    # own pixels, and the check expected the raster operation over them.
    assert all(int(e, 16) == int(r, 16) & colour for e, r in zip(expected, read)), m.group(0)
    assert all(e != r for e, r in zip(expected, read)), m.group(0)
    assert m.group(4) == "missed", m.group(0)

moved = [(i, s) for i, s in enumerate(said) if s.startswith("surface; ")]
assert len(moved) == 1, said
window = checks[0][1].group(1)
assert all(m.group(1) == window for _, m in checks), said
assert moved[0][0] > checks[-1][0], "the surface changed before the second miss"
assert moved[0][1] == f"surface; window {window}; overlay, after two checks in a row found no band on the screen", moved
assert state["surface"]["kind"] == "overlay" and state["overlays"], state["surface"]
print(line)
print(f"{len(checks)} checks of window {window}, each missed: expected {checks[0][1].group(2).strip()}, "
      f"read {checks[0][1].group(3).strip()}; then the overlay")
PY
