#!/usr/bin/env python3
"""The layers, as the includes keep them, and no include cycle.

Reads every tracked C++ file of the tree (or of the folder given) and fails,
naming the file, its line and the include, when:

- src/engine includes anything but engine/ and the interfaces directly in
  src/platform/, besides standard headers in angle brackets;
- src/forms includes addin/ or server/; src/addin includes server/;
- anything outside src/server, src/platform/win32, tools/rowtint-host and
  tests/win32 includes platform/win32/;
- anything in src/ includes from tools/;
- one program's folder under tools/ includes from another's (tools/script
  is shared by them, not a program);
- headers include each other round in a loop, two or more.

Quoted includes are found as the compiler finds them: beside the file, then
in src/ and tools/script/, then in the folders the build puts on the file's
include path. An include that names no tracked file (a generated header, a
system one) is left alone, unless its words alone break a rule.
"""
import os
import re
import subprocess
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')
PROGRAMS = ("tools/rowtint-sim", "tools/rowtint-host", "tools/rowtint-other")
WIN32_USERS = ("src/server/", "src/platform/win32/", "tools/rowtint-host/", "tests/win32/")
# The include paths the build gives beyond the file's own folder, src/ and tools/script/.
EXTRA_PATHS = {
    "tools/rowtint-sim/": ["tools/rowtint-sim"],
    "tests/": ["tools/rowtint-sim", "tests/support"],
    "tests/win32/": ["tools/rowtint-host", "tests/win32/support"],
    "bench/": ["tools/rowtint-sim", "tests/support"],
    "fuzz/": ["tools/rowtint-sim"],
}
STANDARD = set(
    """algorithm any array atomic barrier bit bitset cassert ccomplex cctype cerrno cfenv cfloat charconv chrono
    cinttypes climits clocale cmath codecvt compare complex concepts condition_variable coroutine csetjmp csignal
    cstdarg cstddef cstdint cstdio cstdlib cstring ctime cuchar cwchar cwctype deque exception execution expected
    filesystem format forward_list fstream functional future initializer_list iomanip ios iosfwd iostream istream
    iterator latch limits list locale map memory memory_resource mutex new numbers numeric optional ostream queue
    random ranges ratio regex scoped_allocator semaphore set shared_mutex source_location span sstream stack
    stdexcept stop_token streambuf string string_view syncstream system_error thread tuple type_traits typeindex
    typeinfo unordered_map unordered_set utility valarray variant vector version""".split())


def tracked(root):
    # A copy of the tree without its repository is read whole.
    if os.path.exists(os.path.join(root, ".git")):
        out = subprocess.run(["git", "ls-files", "*.cpp", "*.h"], cwd=root, check=True, capture_output=True, text=True)
        files = out.stdout.split()
    else:
        files = []
        for folder, _, names in os.walk(root):
            for name in names:
                if name.endswith((".cpp", ".h")):
                    files.append(os.path.relpath(os.path.join(folder, name), root).replace(os.sep, "/"))
    return sorted(f for f in files if not f.startswith("fuzz/corpus/") and os.path.isfile(os.path.join(root, f)))


def search_path(path):
    folders = [os.path.dirname(path), "src", "tools/script"]
    for prefix, extra in EXTRA_PATHS.items():
        if path.startswith(prefix):
            folders += extra
    return folders


def resolve(path, name, files):
    for folder in search_path(path):
        candidate = os.path.normpath(os.path.join(folder, name)).replace(os.sep, "/")
        if candidate in files:
            return candidate
    # Not on the file's own path: a header of another folder, which would need that folder on the path.
    for f in sorted(files):
        if f == name or f.endswith("/" + name):
            return f
    return None


def program_of(path):
    for program in PROGRAMS:
        if path.startswith(program + "/"):
            return program
    return None


def broken_rule(path, bracket, name, target):
    """Why this include breaks a layer, or None."""
    target = target or ""
    if path.startswith("src/engine/"):
        if bracket == "<":
            if name not in STANDARD:
                return "src/engine includes only standard headers in angle brackets"
        elif not (target.startswith("src/engine/") or re.fullmatch(r"src/platform/[^/]+\.h", target)):
            return "src/engine includes only engine/ and the interfaces directly in platform/"
    if path.startswith("src/forms/") and (name.startswith(("addin/", "server/")) or
                                          target.startswith(("src/addin/", "src/server/"))):
        return "src/forms includes neither addin/ nor server/"
    if path.startswith("src/addin/") and (name.startswith("server/") or target.startswith("src/server/")):
        return "src/addin includes no server/"
    if not path.startswith(WIN32_USERS) and ("platform/win32/" in name or target.startswith("src/platform/win32/")):
        return "only src/server, src/platform/win32, tools/rowtint-host and tests/win32 include platform/win32/"
    if path.startswith("src/") and (name.startswith("tools/") or target.startswith("tools/")):
        return "src/ includes nothing from tools/"
    mine, theirs = program_of(path), program_of(target)
    if mine and theirs and mine != theirs:
        return "%s includes nothing from %s" % (mine, theirs)
    return None


def cycles(graph):
    """Each loop of includes once, as the list of files round it."""
    found, seen, state = [], set(), {}

    def visit(node, stack):
        state[node] = "open"
        stack.append(node)
        for nxt in graph.get(node, ()):
            if state.get(nxt) == "open":
                loop = stack[stack.index(nxt):]
                key = frozenset(loop)
                if key not in seen:
                    seen.add(key)
                    found.append(loop + [nxt])
            elif nxt not in state:
                visit(nxt, stack)
        stack.pop()
        state[node] = "done"

    for node in sorted(graph):
        if node not in state:
            visit(node, [])
    return found


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
    files = tracked(root)
    known = set(files)
    failures, graph = [], {}
    for path in files:
        with open(os.path.join(root, path), encoding="utf-8", errors="replace") as source:
            for number, text in enumerate(source, 1):
                match = INCLUDE.match(text)
                if not match:
                    continue
                bracket, name = match.groups()
                target = resolve(path, name, known) if bracket == '"' else None
                if target:
                    graph.setdefault(path, []).append(target)
                why = broken_rule(path, bracket, name, target)
                if why:
                    failures.append("%s:%d: #include %s%s%s: %s" % (path, number, bracket, name,
                                                                    '"' if bracket == '"' else ">", why))
    for loop in cycles(graph):
        failures.append("include cycle: " + " -> ".join(loop))
    for failure in failures:
        print(failure, file=sys.stderr)
    if failures:
        return 1
    print("includes: %d files keep their layers, no include cycle" % len(files))
    return 0


if __name__ == "__main__":
    sys.exit(main())
