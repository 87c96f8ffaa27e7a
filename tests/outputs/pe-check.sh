#!/usr/bin/env bash
# Checks the deliverable's PE file as Windows will see it: a 32-bit GUI program that imports only
# system DLLs (help is bound at run time) and carries its named resources in language 0x0413.
# Usage: pe-check.sh ostrel.exe
set -u
exe=${1:?usage: pe-check.sh ostrel.exe}
objdump=i686-w64-mingw32-objdump
failures=0

check() {  # check DESCRIPTION COMMAND...
  local what=$1
  shift
  if "$@"; then
    echo "ok: $what"
  else
    echo "FAILED: $what"
    failures=$((failures + 1))
  fi
}

for tool in "$objdump" wrestool od; do
  command -v "$tool" >/dev/null || { echo "FAILED: $tool is missing (scripts/deps.sh windows)"; exit 1; }
done
[ -f "$exe" ] || { echo "FAILED: $exe does not exist"; exit 1; }

pe_offset=$(od -An -tu4 -j60 -N4 "$exe" | tr -d ' ')
machine=$(od -An -tx2 -j$((pe_offset + 4)) -N2 "$exe" | tr -d ' ')
magic=$(od -An -tx2 -j$((pe_offset + 24)) -N2 "$exe" | tr -d ' ')
check "machine i386 (0x014c), found 0x$machine" test "$machine" = 014c
check "optional header PE32 (0x010b), found 0x$magic" test "$magic" = 010b
headers=$("$objdump" -p "$exe" 2>&1) || { echo "FAILED: $objdump cannot read $exe"; exit 1; }
check "GUI subsystem" grep -Eq '^Subsystem[[:space:]]+0*2[[:space:]]' <<<"$headers"

# Only these DLLs, whatever the letter case the linker wrote.
allowed=" kernel32.dll user32.dll advapi32.dll winmm.dll msvcrt.dll "
dlls=$(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$headers" | tr 'A-Z' 'a-z' | tr -d '\r')
check "imports found" test -n "$dlls"
for dll in $dlls; do
  check "import $dll is allowed" grep -q " $dll " <<<"$allowed"
done
# The import table lists one entry per line under its DLL; the help entry must not be among them.
imports=$(sed -n '/^[[:space:]]*DLL Name:/,/^$/p' <<<"$headers")
check "HtmlHelpA is not imported" bash -c '! grep -qi "htmlhelp" <<<"$1"' _ "$imports"

resources=$(wrestool -l "$exe" 2>&1)
has_resource() {  # has_resource TYPE NAME
  grep -Eq -- "^--type=$1 --name=$2 --language=1043 " <<<"$resources"
}
check "dialog OSTRELDLG in language 0x0413" has_resource 5 "'OSTRELDLG'"
check "dialog ABOUT in language 0x0413" has_resource 5 "'ABOUT'"
check "menu OSTRELMENU in language 0x0413" has_resource 4 "'OSTRELMENU'"
check "icon group OSTRELICON in language 0x0413" has_resource 14 "'OSTRELICON'"
check "version block in language 0x0413" has_resource 16 "[^ ]+"

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed for $exe; its resources:"
  echo "$resources"
  exit 1
fi
