#!/usr/bin/env bash
# The deliverable and ostrel-convert.exe beside it as Windows sees them: their kinds, imports and
# size, the dialogs' character set, the manifest and the icon.
# Usage: pe-check.sh ostrel.exe ostrel-convert.exe OBJECT... (the program's own objects and libraries)
set -u
exe=$1
failures=0
check() {  # DESCRIPTION COMMAND...
  if "${@:2}"; then echo "ok: $1"; else echo "FAILED: $1"; failures=$((failures + 1)); fi
}
# PE32, subsystem (2 GUI, 3 console), and the DLLs imported, of the headers given.
kind() {
  echo "$(grep -Eq '^Magic[[:space:]]+010b' <<<"$1" && echo PE32) subsystem $(sed -n 's/^Subsystem[[:space:]]*0*//p' <<<"$1" | cut -c1)" \
       "$(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$1" | tr 'A-Z' 'a-z' | sort | tr '\n' ' ')"
}
headers=$(i686-w64-mingw32-objdump -p "$exe") || exit 1
check "PE32 GUI program importing only known DLLs ($(kind "$headers"))" \
  test "$(kind "$headers")" = "PE32 subsystem 2 advapi32.dll kernel32.dll msvcrt.dll user32.dll "
check "at most 400 KB ($(stat -c %s "$exe") bytes)" test "$(stat -c %s "$exe")" -le 409600
cli=$(i686-w64-mingw32-objdump -p "$2") || exit 1
check "ostrel-convert.exe: PE32 console program ($(kind "$cli"))" test "$(kind "$cli")" = "PE32 subsystem 3 kernel32.dll msvcrt.dll "
check "ostrel-convert.exe: WriteConsoleW" grep -Eq '[[:space:]]WriteConsoleW$' <<<"$cli"
# The edit controls of a dialog made by the ANSI functions keep their text in the system's code
# page, which may have no degree sign: the dialogs and their loop are Unicode.
dialog=$(awk '$3 ~ /^(CreateDialogParam|DialogBoxParam|GetMessage|IsDialogMessage|DispatchMessage)[AW]$/ {print $3}' <<<"$headers" | sort | tr '\n' ' ')
check "Unicode dialogs ($dialog)" test "$dialog" = "CreateDialogParamW DispatchMessageW GetMessageW IsDialogMessageW "
# Libraries are loaded by full path, and what they need from the system folder, not the program's.
# The C runtime's start-up imports LoadLibraryA for itself: the program's own objects are read.
loads=$(i686-w64-mingw32-nm "${@:3}" | grep -o 'LoadLibrary[A-Za-z]*' | sort -u | tr '\n' ' ')
check "the program's own code loads libraries only with LoadLibraryExW ($loads)" test "$loads" = "LoadLibraryExW "
# Windows reads a manifest's settings only under their own namespaces: each is looked up there.
check "manifest" python3 - "$(wrestool -x --raw --type=24 --name=1 "$exe")" <<'PY'
import sys, xml.etree.ElementTree as xml
asm, settings = "{urn:schemas-microsoft-com:asm.", "{http://schemas.microsoft.com/SMI/20"
wanted = [(asm + "v3}requestedExecutionLevel", "level", "asInvoker"), (asm + "v1}assemblyIdentity", "name", "Ostrel"),
          (asm + "v1}assemblyIdentity", "version", "6.0.0.0"), (settings + "05/WindowsSettings}dpiAware", None, "true"),
          (settings + "16/WindowsSettings}dpiAwareness", None, "PerMonitorV2, System"),
          ("{urn:schemas-microsoft-com:compatibility.v1}supportedOS", "Id", "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}")]  # 10 and 11
elements = list(xml.fromstring(sys.argv[1]).iter())
missing = [w for w in wanted if not any(e.tag == w[0] and (e.get(w[1]) if w[1] else e.text) == w[2] for e in elements)]
print("".join("  manifest lacks %s %s\n" % (tag, value) for tag, _, value in missing), end="")
sys.exit(bool(missing))
PY
# Windows takes the image nearest each size it draws: the 32 x 32 art in 16 colours, the one systems
# before Vista read, and PNG for the rest, in ascending order, 256 written as 0 in the directory.
check "icon sizes and formats" python3 - <(wrestool -x --type=14 --name=OSTRELICON "$exe") <<'PY'
import struct, sys
ico = open(sys.argv[1], "rb").read()
entries = [struct.unpack_from("<BBBBHHII", ico, 6 + 16 * i) for i in range(struct.unpack_from("<H", ico, 4)[0])]
found = [(w or 256, h or 256, struct.unpack_from(">I", ico, at + 16)[0] if ico[at:at + 8] == b"\x89PNG\r\n\x1a\n" else
          "%d-bit bitmap" % ico[at + 14]) for w, h, _, _, _, _, _, at in entries]
wanted = [(size, size, "4-bit bitmap" if size == 32 else size) for size in (16, 20, 24, 32, 40, 48, 64, 256)]
print("" if found == wanted else "  icon has (width, height, PNG's width or bitmap): %s\n" % found, end="")
sys.exit(found != wanted)
PY
[ "$failures" -eq 0 ]
