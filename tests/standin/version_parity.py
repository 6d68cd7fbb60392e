#!/usr/bin/env python3
"""Excel 2010 (one main window for every workbook) and today's Excel (one per
workbook) must look alike to the user while one workbook is open: every script
that keeps to one workbook gives the same screen and the same `state` in
rowtint-sim as version 14.0 and as 16.0, but for platform call counts and
handle values, which follow the window layout.

version_parity.py SIM OUT_DIR SCRIPT...
"""
import json
import os
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import compare_png  # noqa: E402
from compare_runs import snapshot_names, states, versioned  # noqa: E402

# Which windows and DCs the handles are, and how many calls found them (the
# forms' DialogOwnerWnd is one too).
LAYOUT_KEYS = {"calls", "ExcelMainWnd", "ScreenDC", "foreground"}
SCREEN = (0, 0, 1280, 800)


def without_handles(state):
    """The state less what names windows and DCs by handle."""
    state = {k: v for k, v in state.items() if k not in LAYOUT_KEYS}
    state["forms"] = {name: {k: v for k, v in form.items() if k != "DialogOwnerWnd"}
                      for name, form in state.get("forms", {}).items()}
    return state


def play(sim, script, out):
    os.makedirs(out, exist_ok=True)
    ran = subprocess.run([sim, "run", script, "--out", out], capture_output=True, text=True, timeout=120)
    return ran.returncode, ran.stderr.strip(), [without_handles(s) for s in states(ran.stdout)]


def main():
    sim, out = sys.argv[1:3]
    originals = {os.path.basename(script): script for script in sys.argv[3:]}
    old = versioned(sys.argv[3:], "14.0", out)
    new = [originals[os.path.basename(copy)] for copy in old]
    failures = []
    for a, b in zip(old, new):
        name = os.path.splitext(os.path.basename(a))[0]
        out_a, out_b = os.path.join(out, name, "14.0"), os.path.join(out, name, "default")
        (rc_a, err_a, states_a), (rc_b, err_b, states_b) = play(sim, a, out_a), play(sim, b, out_b)
        if rc_a or rc_b:
            failures.append(f"{name}: exit codes {rc_a} and {rc_b}: {err_a} {err_b}")
            continue
        if len(states_a) != len(states_b):
            failures.append(f"{name}: {len(states_a)} states as 14.0, {len(states_b)} as 16.0")
        for i, (sa, sb) in enumerate(zip(states_a, states_b)):
            for key in sorted(set(sa) | set(sb)):
                if sa.get(key) != sb.get(key):
                    failures.append(f"{name}: state {i + 1}, {key}: 14.0 {json.dumps(sa.get(key))}, "
                                    f"16.0 {json.dumps(sb.get(key))}")
        with open(b) as f:
            snapshots = snapshot_names(f.read())
        for snap in snapshots:
            print(f"{name}: {snap}:", end=" ")
            if not (os.path.exists(os.path.join(out_a, snap)) and os.path.exists(os.path.join(out_b, snap))):
                failures.append(f"{name}: {snap}: snapshot missing")
            elif compare_png.compare(os.path.join(out_a, snap), os.path.join(out_b, snap), SCREEN,
                                     os.path.join(out, name, "diff-" + snap)):
                failures.append(f"{name}: {snap}: pixels differ (see {name}/diff-{snap})")
        print(f"{name}: {len(states_a)} states and {len(snapshots)} snapshots alike")
    for f in failures:
        print("FAIL:", f)
    print(f"{len(old)} scripts played as 14.0 and 16.0, {len(failures)} failures")
    return 1 if failures or not old else 0


if __name__ == "__main__":
    sys.exit(main())
