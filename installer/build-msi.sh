#!/usr/bin/env bash
# Builds one Rowtint package from rowtint.wxs:
#   build-msi.sh x64|x86 PATH/TO/Rowtint.dll OUT.msi [WIXL_OPTION...]
# (the tests add -D Version=N to build an older or a newer package).
set -euo pipefail
[ $# -ge 3 ] || { echo "usage: $0 x64|x86 ROWTINT_DLL OUT.msi [WIXL_OPTION...]" >&2; exit 2; }
arch=$1 dll=$2 out=$3
shift 3
case "$arch" in x64|x86) ;; *) echo "unknown architecture: $arch (x64 or x86)" >&2; exit 2 ;; esac
[ -f "$dll" ] || { echo "no DLL at $dll" >&2; exit 1; }
command -v wixl >/dev/null || { echo "wixl is missing (Debian package wixl)" >&2; exit 1; }

# The PE header's machine field, found after the "PE\0\0" signature that the
# offset at 0x3C points to; empty when the file is no PE image.
machine_of() {
  local pe
  pe=$(od -An -tu4 -j60 -N4 "$1" 2>/dev/null | tr -d ' ') || true
  od -An -tx2 -j"${pe:-0}" -N6 "$1" 2>/dev/null | tr -d ' \n' | sed -n 's/^45500000\(....\)$/\1/p' || true
}
# Excel loads only an add-in of its own bitness, and says nothing when it
# cannot: a package must never carry the other one.
machine=$(machine_of "$dll")
case "$arch:$machine" in
  x64:8664 | x86:014c) ;;
  *) echo "$dll is not a $arch DLL (machine ${machine:-none})" >&2; exit 1 ;;
esac

# wixl finds a File's Source relative to the working folder and rejects an
# absolute path; -a sets the package's platform, Arch what it installs.
wxs=$(dirname "$(realpath "$0")")/rowtint.wxs
wixl -a "$arch" -D Arch="$arch" -D RowtintDll="$(realpath --relative-to=. "$dll")" "$@" -o "$out" "$wxs"
