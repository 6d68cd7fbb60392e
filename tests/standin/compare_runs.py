#!/usr/bin/env python3
"""Plays scripts in rowtint-sim and in rowtint-host.exe with the real DLL,
then compares every snapshot inside the grid window pixel for pixel and the
`state` keys both can see. One stand-in process plays every script, each
from an empty store and a fresh host; the simulator plays each on its own.

compare_runs.py SIM SESSION_SCRIPT SESSION_DIR HOST_EXE OUT_DIR [--version V] SCRIPT...

With --version, both hosts play each script as Excel V with one workbook:
`version V` and a start first, so that the add-in connects to that version;
scripts that set a version or open workbooks themselves are left out.

A line `# compare LEFT TOP RIGHT BOTTOM` in a script names a screen area to
compare (the grid window; by default the simulator's 40 120 1240 760); a
script with several such lines has each of its areas compared.
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

SHARED = ["activeCell", "selection", "workbooks", "findOptions", "settings", "bars", "clicksHandled", "messages",
          "launched", "foregroundOwner", "foregroundChanges", "refusedCalls", "ribbon", "errors", "threadDpi",
          "Across", "surface", "overlays"]


# Lines that prepare the host's first start (the thread's DPI context, and the
# store and the surface the add-in reads when it connects): those a script
# begins with stay before the start in a copy, or the add-in would connect
# without them.
PREPARE = re.compile(r"^\s*(?:thread-dpi|surface|setting|bar)\b")


def before_start(text):
    """The script's leading preparing lines, and the rest of it."""
    first, rest, leading = [], [], True
    for line in text.splitlines(keepends=True):
        if leading and PREPARE.match(line):
            first.append(line)
            continue
        if line.strip() and not line.lstrip().startswith("#"):
            leading = False
        rest.append(line)
    return "".join(first), "".join(rest)


def versioned(scripts, version, out):
    """Copies of the scripts that keep to one workbook of the host's default
    version, each starting the host again as VERSION first, written under OUT."""
    folder = os.path.join(out, "version-" + version)
    os.makedirs(folder, exist_ok=True)
    copies = []
    for script in scripts:
        with open(script) as f:
            text = f.read()
        if re.search(r"^\s*(version|workbook)\b", text, re.M):
            continue
        first, rest = before_start(text)
        copy = os.path.join(folder, os.path.basename(script))
        with open(copy, "w") as f:
            f.write(f"{first}version {version}\nstart\n{rest}")
        copies.append(copy)
    return copies


def snapshot_names(text):
    """The files a script's `snapshot` lines write."""
    return re.findall(r"^snapshot\s+(\S+)", text, re.M)


def shared_view(state):
    view = {k: state.get(k) for k in SHARED}
    view["timer"] = state["timer"]["running"]
    # Only the simulator sees how a check came out; both count the checks.
    if view["surface"]:
        view["surface"] = {k: v for k, v in view["surface"].items() if k != "missed"}
    view["forms"] = sorted(name for name, form in state.get("forms", {}).items() if form.get("visible"))
    return view


def states(output):
    return [json.loads(line) for line in output.splitlines() if line.startswith("{")]


def host_runs(sim, session, session_dir, host, scripts, out):
    """Plays every script in one stand-in process: {name: (exit code, output)}, and its error text."""
    host_out = os.path.join(out, "host")
    ran = subprocess.run(["bash", session, "run", session_dir, "wine", host, "run", *scripts, "--out", host_out],
                         capture_output=True, text=True, timeout=300 + 120 * len(scripts))
    runs, name = {}, None
    if len(scripts) == 1:
        name = os.path.splitext(os.path.basename(scripts[0]))[0]
        return {name: (ran.returncode, ran.stdout, host_out)}, ran.stderr
    lines = {}
    for line in ran.stdout.splitlines():
        m = re.match(r"^== (\S+) (\d+)$", line)
        if m:
            name = m.group(1)
            lines[name] = (int(m.group(2)), [])
        elif name:
            lines[name][1].append(line)
    for name, (rc, text) in lines.items():
        runs[name] = (rc, "\n".join(text), os.path.join(host_out, name))
    return runs, ran.stderr


def compare(name, script, sim, host_run, host_err, out):
    """The failures of one script, each naming it."""
    with open(script) as f:
        text = f.read()
    areas = [tuple(int(v) for v in m.groups()) for m in re.finditer(r"^# compare (\d+) (\d+) (\d+) (\d+)", text, re.M)]
    areas = areas or [(40, 120, 1240, 760)]
    skip = [tuple(int(v) for v in m.groups()) for m in re.finditer(r"^# differs (\d+) (\d+) (\d+) (\d+):", text, re.M)]
    snapshots = snapshot_names(text)

    sim_out = os.path.join(out, name, "sim")
    os.makedirs(sim_out, exist_ok=True)
    ran_sim = subprocess.run([sim, "run", script, "--out", sim_out], capture_output=True, text=True, timeout=300)
    failures = []
    if ran_sim.returncode != 0:
        failures.append(f"rowtint-sim exited with {ran_sim.returncode}: {ran_sim.stderr.strip()}")
    if host_run is None:
        failures.append(f"the stand-in did not play it: {host_err.strip()}")
        host_run = (None, "", "")
    rc, host_output, host_out = host_run
    if rc not in (None, 0):
        said = [line for line in host_err.splitlines() if script in line]
        failures.append(f"rowtint-host exited with {rc}: {' '.join(said) or host_err.strip()}")

    sim_states, host_states = states(ran_sim.stdout), states(host_output)
    if len(sim_states) != len(host_states):
        failures.append(f"{len(sim_states)} states from the simulator, {len(host_states)} from the stand-in")
    for i, (a, b) in enumerate(zip(sim_states, host_states)):
        va, vb = shared_view(a), shared_view(b)
        for key in va:
            if va[key] != vb[key]:
                failures.append(f"state {i + 1}, {key}: simulator {json.dumps(va[key])}, stand-in {json.dumps(vb[key])}")
    for snap in snapshots:
        a, b = os.path.join(sim_out, snap), os.path.join(host_out, snap)
        if not (os.path.exists(a) and os.path.exists(b)):
            failures.append(f"{snap}: snapshot missing")
            continue
        for i, area in enumerate(areas):
            diff = ("diff-" if i == 0 else f"diff-{i + 1}-") + snap
            print(f"{name}: {snap}:", end=" ")
            if compare_png.compare(a, b, area, os.path.join(out, name, diff), skip) != 0:
                failures.append(f"{snap}: pixels differ in {area} (see {name}/{diff})")
    print(f"{name}: {len(sim_states)} states and {len(snapshots)} snapshots compared")
    return [f"{name}: {f}" for f in failures]


def main():
    sim, session, session_dir, host, out = sys.argv[1:6]
    scripts = sys.argv[6:]
    os.makedirs(out, exist_ok=True)
    if scripts[:1] == ["--version"]:
        scripts = versioned(scripts[2:], scripts[1], out)
    runs, host_err = host_runs(sim, session, session_dir, host, scripts, out)
    failures = []
    for script in scripts:
        name = os.path.splitext(os.path.basename(script))[0]
        failures += compare(name, script, sim, runs.get(name), host_err, out)
    for f in failures:
        print("FAIL:", f)
    print(f"{len(scripts)} scripts compared, {len(failures)} failures")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
