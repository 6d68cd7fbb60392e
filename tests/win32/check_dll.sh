#!/usr/bin/env bash
# What Windows and Excel see of Rowtint.dll without running it: exactly the
# four undecorated exports of a COM server, imports from system DLLs only
# (Excel's folder has no C++ runtime), and the version record.
#   check_dll.sh OBJDUMP DLL
set -euo pipefail
objdump=$1 dll=$2
fail() { echo "FAIL: $*" >&2; exit 1; }
headers=$("$objdump" -p "$dll")

exports=$(awk '/\[Ordinal\/Name Pointer\] Table/{on=1; next} on && /\[ *[0-9]+\]/{print $NF} on && /^$/{on=0}' <<<"$headers" | sort)
expected=$(printf '%s\n' DllCanUnloadNow DllGetClassObject DllRegisterServer DllUnregisterServer)
[ "$exports" = "$expected" ] || fail "exports are: $(echo $exports)"
echo "exports: $(echo $exports)"

imports=$(awk '/DLL Name:/{print tolower($3)}' <<<"$headers" | sort -u)
allowed='^(kernel32|user32|gdi32|comdlg32|shell32|advapi32|ole32|oleaut32|msvcrt|api-ms-win-crt-[a-z0-9-]+|comctl32)\.dll$'
for dll_name in $imports; do
  [[ $dll_name =~ $allowed ]] || fail "imports $dll_name, which is not a system DLL"
done
echo "imports: $(echo $imports)"

strings=$(strings -e l "$dll")
for field in "ProductName" "Rowtint for Excel" "CompanyName" "InternalName" "LegalTrademarks" "OriginalFilename" \
             "Rowtint.dll" "FileVersion" "ProductVersion" "1.00" "OLESelfRegister"; do
  grep -qxF "$field" <<<"$strings" || fail "version record lacks \"$field\""
done
echo "version record: ProductName, CompanyName, InternalName, LegalTrademarks, OriginalFilename, FileVersion, ProductVersion, OLESelfRegister"

# The type library the DLL carries (its resource comes after the code and
# its strings) declares Office's ribbon interface and every callback the
# ribbon XML names, in either bitness: the 32-bit one's cannot be run here.
python3 - "$dll" <<'PY' || fail "the type library lacks the ribbon"
import sys, uuid
data = open(sys.argv[1], "rb").read()
start = data.rfind(b"MSFT")
assert start > 0, "no type library"
library = data[start:]
for iid in ("000C0396-0000-0000-C000-000000000046", "000C0395-0000-0000-C000-000000000046",
            "000C03A7-0000-0000-C000-000000000046"):
    assert uuid.UUID(iid).bytes_le in library, iid
for name in (b"IRibbonExtensibility", b"GetCustomUI", b"RibbonLoad", b"RibbonAction", b"RibbonToggle",
             b"RibbonPressed", b"RibbonEnabled", b"RibbonImage"):
    assert name in library, name
PY
echo "type library: IRibbonExtensibility, IRibbonControl, IRibbonUI and the six ribbon callbacks"
