#!/usr/bin/env bash
# Builds one Rowtint package from rowtint.wxs:
#   build-msi.sh x64|x86 PATH/TO/Rowtint.dll OUT.msi
set -euo pipefail
[ $# -eq 3 ] || { echo "usage: $0 x64|x86 ROWTINT_DLL OUT.msi" >&2; exit 2; }
arch=$1 dll=$2 out=$3
case "$arch" in x64|x86) ;; *) echo "unknown architecture: $arch (x64 or x86)" >&2; exit 2 ;; esac
[ -f "$dll" ] || { echo "no DLL at $dll" >&2; exit 1; }
command -v wixl >/dev/null || { echo "wixl is missing (Debian package wixl)" >&2; exit 1; }
wxs=$(dirname "$(realpath "$0")")/rowtint.wxs
# wixl finds a File's Source relative to the working folder and rejects an
# absolute path; -a sets the package's platform, Arch what it installs.
wixl -a "$arch" -D Arch="$arch" -D RowtintDll="$(realpath --relative-to=. "$dll")" -o "$out" "$wxs"
