#!/usr/bin/env python3
"""scripts/check_includes.py on a copy of the tree: it passes on the tree as
it is, and fails, naming the file and the include, on each forbidden include
planted into the copy in turn, and on headers that include each other round
in a loop.

Usage: check_includes_test.py SOURCE_DIR WORK_DIR
"""
import os
import shutil
import subprocess
import sys

# (file planted into, the lines it gets, what the check must name); a file that does not exist is made.
PLANTS = [
    ("src/engine/highlighter.cpp", ['#include "platform/sim/sim_desktop.h"'], "platform/sim/sim_desktop.h"),
    ("src/engine/highlighter.cpp", ['#include "platform/win32/com_ptr.h"'], "platform/win32/com_ptr.h"),
    ("src/engine/highlighter.cpp", ['#include "forms/form_set.h"'], "forms/form_set.h"),
    ("src/engine/highlighter.cpp", ['#include "addin/connect.h"'], "addin/connect.h"),
    ("src/engine/band_geometry.h", ["#include <windows.h>"], "<windows.h>"),
    ("src/forms/options_form.cpp", ['#include "addin/connect.h"'], "addin/connect.h"),
    ("src/forms/options_form.cpp", ['#include "server/registration.h"'], "server/registration.h"),
    ("src/addin/connect.cpp", ['#include "server/registration.h"'], "server/registration.h"),
    ("src/addin/connect.cpp", ['#include "platform/win32/com_ptr.h"'], "platform/win32/com_ptr.h"),
    ("src/platform/sim/sim_host.cpp", ['#include "platform/win32/com_ptr.h"'], "platform/win32/com_ptr.h"),
    ("tests/workbooks_test.cpp", ['#include "platform/win32/com_ptr.h"'], "platform/win32/com_ptr.h"),
    ("tools/rowtint-sim/sim_session.cpp", ['#include "platform/win32/com_ptr.h"'], "platform/win32/com_ptr.h"),
    ("src/platform/sim/excel_model.cpp", ['#include "script_line.h"'], "script_line.h"),
    ("src/addin/connect.cpp", ['#include "tools/script/script_line.h"'], "tools/script/script_line.h"),
    ("tools/rowtint-host/host_session.cpp", ['#include "sim_session.h"'], "sim_session.h"),
    ("tools/rowtint-sim/sim_session.cpp", ['#include "host_windows.h"'], "host_windows.h"),
    ("tools/rowtint-other/main.cpp", ['#include "other_program.h"'], "other_program.h"),
    # A pair of headers that include each other, and a loop of three.
    ("tools/script/loop_a.h", ['#pragma once', '#include "loop_b.h"'], "include cycle"),
    ("tools/script/loop_b.h", ['#pragma once', '#include "loop_a.h"'], None),
    ("src/engine/ring_a.h", ['#pragma once', '#include "engine/ring_b.h"'], "include cycle"),
    ("src/engine/ring_b.h", ['#pragma once', '#include "engine/ring_c.h"'], None),
    ("src/engine/ring_c.h", ['#pragma once', '#include "engine/ring_a.h"'], None),
]
# Includes the layers allow, which must not fail.
ALLOWED = [
    ("src/engine/highlighter.cpp", ['#include "platform/host.h"', "#include <vector>"]),
    ("tests/win32/event_sinks_test.cpp", ['#include "platform/win32/com_ptr.h"']),
    ("tools/rowtint-host/host_session.cpp", ['#include "script_line.h"', '#include "platform/win32/com_ptr.h"']),
    ("tools/rowtint-sim/sim_session.cpp", ['#include "script_commands.h"']),
]


def copy_tree(source, target):
    files = subprocess.run(["git", "ls-files"], cwd=source, check=True, capture_output=True, text=True).stdout.split()
    for name in files + ["scripts/check_includes.py"]:
        if name.endswith((".cpp", ".h", ".py")) and not name.startswith("fuzz/corpus/"):
            os.makedirs(os.path.join(target, os.path.dirname(name)), exist_ok=True)
            shutil.copy(os.path.join(source, name), os.path.join(target, name))


def check(tree):
    return subprocess.run([sys.executable, os.path.join(tree, "scripts/check_includes.py"), tree],
                          capture_output=True, text=True)


def planted(tree, plants):
    """Adds the lines to each file; returns what to put back."""
    saved = {}
    for path, lines, *_ in plants:
        full = os.path.join(tree, path)
        before = open(full).read() if os.path.exists(full) else None
        saved.setdefault(full, before)
        with open(full, "w") as f:
            f.write("\n".join(lines) + "\n" + (before or ""))
    return saved


def restore(saved):
    for full, before in saved.items():
        if before is None:
            os.remove(full)
        else:
            with open(full, "w") as f:
                f.write(before)


def main():
    source, work = sys.argv[1], sys.argv[2]
    shutil.rmtree(work, ignore_errors=True)
    copy_tree(source, work)
    failures = []

    clean = check(work)
    if clean.returncode != 0:
        failures.append("the clean tree fails:\n" + clean.stderr)

    # Each plant alone, a loop's headers together.
    groups, i = [], 0
    while i < len(PLANTS):
        group = [PLANTS[i]]
        i += 1
        while i < len(PLANTS) and PLANTS[i][2] is None:
            group.append(PLANTS[i])
            i += 1
        groups.append(group)
    for group in groups:
        path, _, named = group[0]
        saved = planted(work, group)
        result = check(work)
        restore(saved)
        if result.returncode == 0:
            failures.append("%s with %s passes" % (path, named))
        elif path not in result.stderr or named not in result.stderr:
            failures.append("%s with %s fails without naming them:\n%s" % (path, named, result.stderr))

    saved = planted(work, ALLOWED)
    allowed = check(work)
    restore(saved)
    if allowed.returncode != 0:
        failures.append("includes the layers allow fail:\n" + allowed.stderr)

    for failure in failures:
        print(failure)
    print("%d passed, %d failed" % (len(groups) + 2 - len(failures), len(failures)))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
