#!/usr/bin/env bash
# The deliverable as Windows sees it: a 32-bit GUI program of at most 400 KB that imports only
# known system DLLs, carries its named resources in language 0x0413 and a manifest that asks for
# no elevation, common controls 6, per-monitor DPI awareness and Windows Vista to 11.
# Usage: pe-check.sh ostrel.exe
set -u
exe=$1
failures=0
check() {  # DESCRIPTION COMMAND...
  if "${@:2}"; then echo "ok: $1"; else echo "FAILED: $1"; failures=$((failures + 1)); fi
}
headers=$(i686-w64-mingw32-objdump -p "$exe") || exit 1
check "machine i386, PE32" grep -Eq '^Magic[[:space:]]+010b' <<<"$headers"
check "GUI subsystem" grep -Eq '^Subsystem[[:space:]]+0*2[[:space:]]' <<<"$headers"
check "at most 400 KB ($(stat -c %s "$exe") bytes)" test "$(stat -c %s "$exe")" -le 409600
dlls=$(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$headers" | tr 'A-Z' 'a-z' | sort | tr '\n' ' ')
check "imports only known DLLs ($dlls)" test "$dlls" = "advapi32.dll kernel32.dll msvcrt.dll user32.dll "
resources=$(wrestool -l "$exe")
for resource in "5 'OSTRELDLG'" "5 'ABOUT'" "4 'OSTRELMENU'" "14 'OSTRELICON'" "16 1"; do
  check "resource $resource in language 0x0413" \
    grep -q -- "--type=${resource% *} --name=${resource#* } --language=1043 " <<<"$resources"
done
check "manifest" python3 - "$(wrestool -x --raw --type=24 --name=1 "$exe")" <<'PY'
import sys, xml.etree.ElementTree as xml
root = xml.fromstring(sys.argv[1])
def found(tag, attribute):
    return [(e.get(attribute) if attribute else e.text.replace(" ", "")) for e in root.iter(tag)]
v1, v3, settings = "{urn:schemas-microsoft-com:asm.v1}", "{urn:schemas-microsoft-com:asm.v3}", "{http://schemas.microsoft.com/SMI/20"
wanted = {(v3 + "requestedExecutionLevel", "level"): ["asInvoker"],
          (v1 + "assemblyIdentity", "name"): ["Ostrel", "Microsoft.Windows.Common-Controls"],
          (v1 + "assemblyIdentity", "version"): ["1.0.0.0", "6.0.0.0"],
          (settings + "05/WindowsSettings}dpiAware", None): ["true"],
          (settings + "16/WindowsSettings}dpiAwareness", None): ["PerMonitorV2,System"],
          ("{urn:schemas-microsoft-com:compatibility.v1}supportedOS", "Id"):  # Vista, 7, 8, 8.1, 10 and 11
              ["{e2011457-1546-43c5-a5fe-008deee3d3f0}", "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}", "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",
               "{1f676c76-80e1-4239-95bb-83d0f6d0da78}", "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"]}
wrong = [(key, found(*key)) for key, values in wanted.items() if found(*key) != values]
print("".join("  manifest: %s is %s\n" % item for item in wrong), end="")
sys.exit(bool(wrong))
PY
[ "$failures" -eq 0 ]
