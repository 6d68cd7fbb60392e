#!/usr/bin/env bash
# Builds what a Windows user downloads into dist/: the per-user packages
# Rowtint-x64.msi (64-bit Office) and Rowtint-x86.msi (32-bit Office), the
# bare DLLs for registering by hand (x64/Rowtint.dll, x86/Rowtint.dll), and
# SHA256SUMS over all four.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build-windows.sh
for tool in wixl msiinfo; do
  command -v "$tool" >/dev/null || { echo "$tool is missing (Debian packages wixl, msitools)" >&2; exit 1; }
done
rm -rf dist
mkdir -p dist/x64 dist/x86
for arch in x64:build-win64 x86:build-win32; do
  name=${arch%%:*} dll=${arch##*:}/src/server/Rowtint.dll
  installer/build-msi.sh "$name" "$dll" "dist/Rowtint-$name.msi"
  cp "$dll" "dist/$name/Rowtint.dll"
done
(cd dist && sha256sum Rowtint-x64.msi Rowtint-x86.msi x64/Rowtint.dll x86/Rowtint.dll >SHA256SUMS)
cat dist/SHA256SUMS
