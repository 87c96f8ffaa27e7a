#!/usr/bin/env bash
# cmake --install of the native build: exactly the program and its manual page, a page that groff
# formats without a warning and man shows with its sections and every one of the 37 conversions
# and 122 spellings. Usage: install_test.sh CMAKE BUILD-FOLDER
set -eu
prefix=$(mktemp -d "$2/install-test.XXXXXX")
trap 'rm -rf "$prefix"' EXIT
"$1" --install "$2" --prefix "$prefix" >/dev/null
files=$(cd "$prefix" && find . ! -type d | sort | tr '\n' ' ')
[ "$files" = "./bin/ostrel-convert ./share/man/man1/ostrel-convert.1 " ] || { echo "installed: $files"; exit 1; }
[ "$("$prefix/bin/ostrel-convert" 5 ft)" = "1.52 m" ]
page=$prefix/share/man/man1/ostrel-convert.1
! LC_ALL=C grep -n '[^ -~]' "$page" || { echo "the page is not all printable ASCII"; exit 1; }
warnings=$(groff -man -ww -z "$page" 2>&1) && [ -z "$warnings" ] || { echo "groff: $warnings"; exit 1; }
shown=$(LC_ALL=C.UTF-8 MANWIDTH=80 man -l "$page" 2>"$prefix/errors")
[ ! -s "$prefix/errors" ] || { cat "$prefix/errors"; exit 1; }
for needed in NAME SYNOPSIS DESCRIPTION OPTIONS "EXIT STATUS" EXAMPLES UNITS "ostrel-convert --help|-h|--version" \
    "\", in, inch, inches" "', feet, foot, ft" "to ° F, factor 1.8" "kilometers per hour, kilometres per hour, km/h, km/hr, kmh, kmph, kph"; do
  sed 's/^ *//' <<<"$shown" | grep -qxF -- "$needed" || { echo "the page lacks the line: $needed"; exit 1; }
done
counts=$(sed -n '/^UNITS$/,/^[^ ]/p' <<<"$shown" | awk '/^ +to .+, factor [0-9.]+$/ { c++; s += split(prev, a, ", ") }
  { prev = $0 } END { print c + 0 " conversions, " s + 0 " spellings" }')
echo "manual page: $counts"
[ "$counts" = "37 conversions, 122 spellings" ]
