#!/usr/bin/env python3
"""Plays one script in rowtint-sim and in rowtint-host.exe with the real DLL,
then compares every snapshot inside the grid window pixel for pixel and the
`state` keys both can see.

compare_runs.py SIM SESSION_SCRIPT SESSION_DIR HOST_EXE SCRIPT OUT_DIR

A line `# compare LEFT TOP RIGHT BOTTOM` in the script names the screen
area to compare (the grid window; by default the simulator's 40 120 1240 760).
A line `# differs LEFT TOP RIGHT BOTTOM: WHY` leaves out an area where Wine is
known to draw otherwise than Windows, which the simulator follows.
"""
import json
import os
import re
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import compare_png  # noqa: E402

SHARED = ["activeCell", "selection", "settings", "bars", "messages", "launched"]


def shared_view(state):
    view = {k: state.get(k) for k in SHARED}
    view["timer"] = state["timer"]["running"]
    view["forms"] = sorted(name for name, form in state.get("forms", {}).items() if form.get("visible"))
    return view


def states(output):
    return [json.loads(line) for line in output.splitlines() if line.startswith("{")]


def main():
    sim, session, session_dir, host, script, out = sys.argv[1:7]
    sim_out, host_out = os.path.join(out, "sim"), os.path.join(out, "host")
    os.makedirs(sim_out, exist_ok=True)
    os.makedirs(host_out, exist_ok=True)
    with open(script) as f:
        text = f.read()
    area = (40, 120, 1240, 760)
    m = re.search(r"^# compare (\d+) (\d+) (\d+) (\d+)", text, re.M)
    if m:
        area = tuple(int(v) for v in m.groups())
    skip = [tuple(int(v) for v in m.groups()) for m in re.finditer(r"^# differs (\d+) (\d+) (\d+) (\d+):", text, re.M)]
    snapshots = re.findall(r"^snapshot\s+(\S+)", text, re.M)

    ran_sim = subprocess.run([sim, "run", script, "--out", sim_out], capture_output=True, text=True, timeout=300)
    ran_host = subprocess.run(["bash", session, "run", session_dir, "wine", host, "run", script, "--out", host_out],
                              capture_output=True, text=True, timeout=600)
    failures = []
    if ran_sim.returncode != 0:
        failures.append(f"rowtint-sim exited with {ran_sim.returncode}: {ran_sim.stderr.strip()}")
    if ran_host.returncode != 0:
        failures.append(f"rowtint-host exited with {ran_host.returncode}: {ran_host.stderr.strip()}")

    sim_states, host_states = states(ran_sim.stdout), states(ran_host.stdout)
    if len(sim_states) != len(host_states):
        failures.append(f"{len(sim_states)} states from the simulator, {len(host_states)} from the stand-in")
    for i, (a, b) in enumerate(zip(sim_states, host_states)):
        va, vb = shared_view(a), shared_view(b)
        for key in va:
            if va[key] != vb[key]:
                failures.append(f"state {i + 1}, {key}: simulator {json.dumps(va[key])}, stand-in {json.dumps(vb[key])}")
    for name in snapshots:
        a, b = os.path.join(sim_out, name), os.path.join(host_out, name)
        if not (os.path.exists(a) and os.path.exists(b)):
            failures.append(f"{name}: snapshot missing")
            continue
        print(name + ":", end=" ")
        if compare_png.compare(a, b, area, os.path.join(out, "diff-" + name), skip) != 0:
            failures.append(f"{name}: pixels differ (see diff-{name})")
    print(f"{len(sim_states)} states and {len(snapshots)} snapshots compared")
    for f in failures:
        print("FAIL:", f)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
