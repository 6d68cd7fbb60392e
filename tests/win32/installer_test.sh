#!/usr/bin/env bash
# The per-user package as a user meets it.
#   installer_test.sh x64 ROWTINT_DLL WORKDIR PROBE_EXE
#     builds Rowtint-x64.msi and checks it as a file; then, on a Wine prefix
#     and screen of its own, installs it over an earlier build, checks the
#     DLL, every registry entry and that COM creates the add-in from the
#     installed file, and removes it: nothing of it stays, the settings do;
#     then compares its entries with those regsvr32 makes.
#   installer_test.sh x86 ROWTINT_DLL WORKDIR
#     builds Rowtint-x86.msi and checks it as a file.
set -euo pipefail
arch=$1 dll=$2 work=$3 probe=${4:-}
here=$(dirname "$(realpath "$0")")
root=$(realpath "$here/../..")
dll=$(realpath "$dll")
[ -z "$probe" ] || probe=$(realpath "$probe")

failures=0
check() {
  local what=$1
  shift
  if "$@"; then echo "ok   $what"; else echo "FAIL $what"; failures=$((failures + 1)); fi
}
fails() { ! "$@"; }
same_text() { [ "$1" = "$2" ] || { echo "     got '$1', want '$2'"; return 1; }; }

# A session left by a run that was killed is ended before its folder goes.
bash "$here/wine_session.sh" stop "$work/session"
rm -rf "$work"
mkdir -p "$work"
cd "$work"
msi=Rowtint-$arch.msi
"$root/installer/build-msi.sh" "$arch" "$dll" "$msi"

# ---- The package as a file.
suminfo=$(msiinfo suminfo "$msi")
property() { msiinfo export "$1" Property | tr -d '\r' | awk -F'\t' -v name="$2" '$1 == name { print $2 }'; }
table() { msiinfo export "$msi" "$1" | tr -d '\r' | tail -n +4; }
if [ "$arch" = x64 ]; then platform=x64 bit64=1 own=win64; else platform=Intel bit64=0 own=win32; fi

check "platform $platform" grep -qx "Template: $platform;1033" <<<"$suminfo"
# Word count 10: compressed (2), and no elevation needed (8), which is what
# makes a package per-user.
check "per-user package" grep -qx "Source: 10 (a)" <<<"$suminfo"
# ALLUSERS, if set, would ask for a per-machine installation.
check "no ALLUSERS" same_text "$(property "$msi" ALLUSERS)" ""
check "product name" same_text "$(property "$msi" ProductName)" "Rowtint for Excel"
check "version" same_text "$(property "$msi" ProductVersion)" "1.00"
check "upgrade code" same_text "$(property "$msi" UpgradeCode)" "{93C10A16-8861-4152-B7B9-7FCFA69147A0}"
check "$platform component" same_text "$(table Component | awk -F'\t' '{ print int($4 / 256) % 2 }')" "$bit64"
check "type library entry for $own only" \
  same_text "$(table Registry | awk -F'\t' '$3 ~ /\\1\.0\\0\\/ { print $3 }')" \
  'Software\Classes\TypeLib\{4BA5643D-B60D-46E6-8867-F65DF8CA6B6E}\1.0\0\'"$own"'\'
mkdir extracted
msiextract -C extracted "$msi" >/dev/null
check "carries the DLL" cmp -s "$dll" extracted/Rowtint/Rowtint.dll
[ "$arch" = x86 ] && { [ "$failures" -eq 0 ]; exit; }

# ---- Installed, used and removed, on a prefix of its own.
session=$work/session
bash "$here/wine_session.sh" start "$session" >/dev/null
trap 'bash "$here/wine_session.sh" stop "$session"' EXIT
w() { bash "$here/wine_session.sh" run "$session" "$@"; }
# The product codes the list of installed programs shows for Rowtint. Wine
# keeps a per-user product among the machine's (Windows would not).
listed() {
  { w wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s 2>/dev/null || true
    w wine reg query 'HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s 2>/dev/null || true
  } | tr -d '\r' | awk '/^HKEY_/ { n = split($0, part, "\\"); key = part[n] }
                         /^ +DisplayName +REG_SZ +Rowtint for Excel$/ { print key }'
}
product() { property "$1" ProductCode; }

# Never over a newer version.
"$root/installer/build-msi.sh" x64 "$dll" newer.msi -D Version=1.01
check "a newer version installs" w wine msiexec /i newer.msi /qn
check "not replaced by this one" fails w wine msiexec /i "$msi" /qn
check "the newer one stays" same_text "$(listed)" "$(product newer.msi)"
check "the newer one removes" w wine msiexec /x newer.msi /qn

# Over an older version, and over a rebuild of its own version: another
# product code under the same upgrade code each time.
"$root/installer/build-msi.sh" x64 "$dll" older.msi -D Version=0.90
"$root/installer/build-msi.sh" x64 "$dll" rebuild.msi
check "an older version installs" w wine msiexec /i older.msi /qn
settings='HKCU\Software\VB and VBA Program Settings\Tintrow'
w wine reg add "$settings\\RGB" /v RGB-bc /t REG_SZ /d 65280 /f >/dev/null
w wine reg add "$settings\\HIS" /v his_color1 /t REG_SZ /d 255 /f >/dev/null
check "a rebuild replaces it" w wine msiexec /i rebuild.msi /qn
check "listed once, as the rebuild" same_text "$(listed)" "$(product rebuild.msi)"
check "installs over the rebuild without elevation" w wine msiexec /i "$msi" /qn
check "listed once, as this package" same_text "$(listed)" "$(product "$msi")"

local_app_data=$(w wine cmd /c echo %LOCALAPPDATA% | tr -d '\r')
installed_dll="$local_app_data\\Rowtint\\Rowtint.dll"
installed_unix=$(w winepath -u "$installed_dll")
check "DLL under $local_app_data" cmp -s "$dll" "$installed_unix"

# Every key the package writes, as regedit exports it: values, types and
# subkeys, one line each, sorted.
classes='HKEY_CURRENT_USER\Software\Classes'
clsid="$classes\\CLSID\\{02ECD3DB-D3C9-4757-88D7-312137B820B0}"
typelib="$classes\\TypeLib\\{4BA5643D-B60D-46E6-8867-F65DF8CA6B6E}"
interface="$classes\\Interface\\{E87D8889-AB02-4C06-8C00-5B67E73C2783}"
progid="$classes\\Rowtint.Connect"
addin='HKEY_CURRENT_USER\Software\Microsoft\Office\Excel\Addins\Rowtint.Connect'
package_keys=("$clsid" "$progid" "$typelib" "$interface" "$addin")
flatten() { awk '/^\[/ { key = $0; print key; next } NF { print key " " $0 }' | sort; }
exported() {
  local key
  for key in "${package_keys[@]}"; do
    w wine reg export "$key" export.reg /y >/dev/null 2>&1 || continue
    iconv -f UTF-16 -t UTF-8 export.reg | tr -d '\r' | tail -n +2
  done | flatten
}
reg_text() { local t=${1//\\/\\\\}; echo "${t//\"/\\\"}"; }
expected=$(sed -e "s|@DLL@|$(reg_text "$installed_dll" | sed 's/[\\&|]/\\&/g')|" \
               -e "s|@DIR@|$(reg_text "$local_app_data\\Rowtint" | sed 's/[\\&|]/\\&/g')|" <<REG | flatten
[$clsid]
@="Rowtint.Connect"
[$clsid\\InprocServer32]
@="@DLL@"
"ThreadingModel"="Apartment"
[$clsid\\ProgID]
@="Rowtint.Connect"
[$clsid\\TypeLib]
@="{4BA5643D-B60D-46E6-8867-F65DF8CA6B6E}"
[$clsid\\VERSION]
@="1.0"
[$progid]
@="Rowtint.Connect"
[$progid\\CLSID]
@="{02ECD3DB-D3C9-4757-88D7-312137B820B0}"
[$typelib]
[$typelib\\1.0]
@="Sample AddIn Project"
[$typelib\\1.0\\FLAGS]
@="0"
[$typelib\\1.0\\HELPDIR]
@="@DIR@"
[$typelib\\1.0\\0]
[$typelib\\1.0\\0\\win64]
@="@DLL@"
[$interface]
@="_Connect"
[$interface\\ProxyStubClsid32]
@="{00020424-0000-0000-C000-000000000046}"
[$interface\\ProxyStubClsid]
@="{00020424-0000-0000-C000-000000000046}"
[$interface\\TypeLib]
@="{4BA5643D-B60D-46E6-8867-F65DF8CA6B6E}"
"Version"="1.0"
[$addin]
"FriendlyName"="Rowtint"
"Description"="Rowtint is a COM add-in that Enhances Excel's Row Display Effect.\\r\\n"
"LoadBehavior"=dword:00000003
"CommandLineSafe"=dword:00000000
REG
)
actual=$(exported)
check "registry entries of the class, type library and add-in" diff <(echo "$expected") <(echo "$actual")

# Wine's COM reads classes from the machine hive only: mirror the package's
# class keys there for the probe, and take the copies away afterwards.
class_keys=("CLSID\\{02ECD3DB-D3C9-4757-88D7-312137B820B0}" "Rowtint.Connect"
  "TypeLib\\{4BA5643D-B60D-46E6-8867-F65DF8CA6B6E}" "Interface\\{E87D8889-AB02-4C06-8C00-5B67E73C2783}")
mirror() { w wine reg copy "HKCU\\Software\\Classes\\$1" "HKLM\\Software\\Classes\\$1" /s /f >/dev/null; }
# Once more when Wine's reg refuses under load; a second refusal is a failure, not a silent end.
mirrored() { mirror "$1" || { sleep 1; mirror "$1"; }; }
for key in "${class_keys[@]}"; do
  check "class key mirrored: $key" mirrored "$key"
done
probe_out=$(w wine "$probe" | tr -d '\r') && probe_rc=0 || probe_rc=$?
echo "$probe_out" | sed 's/^/     probe: /'
check "Rowtint.Connect answers IDTExtensibility2" same_text "$probe_rc" 0
check "COM loads the installed DLL" grep -qixF "     server $installed_dll" <<<"$probe_out"
for key in "${class_keys[@]}"; do
  w wine reg delete "HKLM\\Software\\Classes\\$key" /f >/dev/null || true  # what stays, "no key left" names
done

check "removes without elevation" w wine msiexec /x "$msi" /qn
check "DLL removed" test ! -e "$installed_unix"
check "its folder removed" test ! -e "$(dirname "$installed_unix")"
left=$(for key in "${package_keys[@]}" "${class_keys[@]/#/HKLM\\Software\\Classes\\}"; do
  w wine reg query "$key" >/dev/null 2>&1 && echo "$key"
done || true)
check "no key left" same_text "$left" ""
check "no longer listed" same_text "$(listed)" ""
check "band colour setting kept" grep -q "RGB-bc    REG_SZ    65280" <(w wine reg query "$settings\\RGB" /v RGB-bc | tr -d '\r')
check "history setting kept" grep -q "his_color1    REG_SZ    255" <(w wine reg query "$settings\\HIS" /v his_color1 | tr -d '\r')

# The same DLL at the same place, registered by regsvr32 instead: the rows
# above are exactly what DllRegisterServer writes.
mkdir -p "$(dirname "$installed_unix")"
cp "$dll" "$installed_unix"
check "regsvr32 registers it" w wine regsvr32 /s "$installed_dll"
check "DllRegisterServer writes the package's entries" diff <(echo "$expected") <(exported)
w wine regsvr32 /s /u "$installed_dll" || true
rm -rf "$(dirname "$installed_unix")"

[ "$failures" -eq 0 ]
