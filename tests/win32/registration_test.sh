#!/usr/bin/env bash
# regsvr32 as a user would run it, on the private Wine prefix:
#   registration_test.sh register SESSION DLL     registers, checks nothing went
#       under HKEY_LOCAL_MACHINE, then mirrors the per-user classes into the
#       machine hive, where Wine's COM looks for them
#   registration_test.sh unregister SESSION DLL   takes the mirror away again,
#       unregisters, and checks that no key of the registration is left
set -euo pipefail
action=$1 session=$2 dll=$3
here=$(dirname "$0")
run() { bash "$here/wine_session.sh" run "$session" "$@"; }
fail() { echo "FAIL: $*" >&2; exit 1; }
clsid='{02ECD3DB-D3C9-4757-88D7-312137B820B0}'
keys=("Software\\Classes\\CLSID\\$clsid" "Software\\Classes\\Rowtint.Connect"
      "Software\\Classes\\TypeLib\\{4BA5643D-B60D-46E6-8867-F65DF8CA6B6E}"
      "Software\\Classes\\Interface\\{E87D8889-AB02-4C06-8C00-5B67E73C2783}"
      "Software\\Microsoft\\Office\\Excel\\Addins\\Rowtint.Connect")
exists() { run wine reg query "$1" >/dev/null 2>&1; }

case "$action" in
register)
  run wine regsvr32 /s "$dll" || fail "regsvr32 failed"
  for key in "${keys[@]}"; do
    exists "HKCU\\$key" || fail "HKCU\\$key was not written"
    ! exists "HKLM\\$key" || fail "HKLM\\$key was written: registration must stay per user"
  done
  echo "regsvr32 wrote ${#keys[@]} keys under HKEY_CURRENT_USER and none under HKEY_LOCAL_MACHINE"
  run wine reg copy "HKCU\\Software\\Classes" "HKLM\\Software\\Classes" /s /f >/dev/null
  ;;
unregister)
  for key in "${keys[@]:0:4}"; do run wine reg delete "HKLM\\$key" /f >/dev/null 2>&1 || true; done
  run wine regsvr32 /u /s "$dll" || fail "regsvr32 /u failed"
  for key in "${keys[@]}"; do
    ! exists "HKCU\\$key" || fail "HKCU\\$key is still there after regsvr32 /u"
  done
  exists "HKCU\\Software\\Microsoft\\Office\\Excel\\Addins" || fail "regsvr32 /u removed Excel's own Addins key"
  echo "regsvr32 /u left none of the ${#keys[@]} keys behind"
  ;;
*) echo "usage: $0 register|unregister SESSION DLL" >&2; exit 2 ;;
esac
