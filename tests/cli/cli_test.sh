#!/usr/bin/env bash
# ostrel-convert from the outside: argument and line modes, exit codes, raw bytes in and out.
set -u
cli=$1
export LC_ALL=C  # a locale whose character set is not UTF-8: the engine's own bytes
failures=0
passes=0
check() {  # name, expected bytes (printf format), actual bytes
  if [ "$2" = "$3" ]; then passes=$((passes + 1)); else
    failures=$((failures + 1)) && echo "FAIL $1: expected $(printf '%q' "$2"), got $(printf '%q' "$3")"
  fi
}

# Arguments: joined by single spaces, one line out, status 0 only for a result.
while IFS='|' read -r name expected status args; do
  eval "set -- $args"
  actual=$("$cli" "$@"; echo "rc=$?")
  check "$name" "$(printf -- "$expected")"$'\n'"rc=$status" "$actual"
done <<'TABLE'
joined words|1.52 m|0|5 ft
one argument|1.78 m|0|"5'10"
spaces kept inside|1.52 m|0|"  5" "ft  "
no unit|don't know|1|5
quoted text|don't know|1|'"5 ft"'
blank|\n|1|"   "
no-break space is no white space|don't know|1|$'5\xa0ft'
temperature|212\xb0 F|0|100 c
utf-8 chosen|212\xc2\xb0 F|0|--encoding=utf-8 100 c
latin1 chosen|212\xb0 F|0|--encoding=latin1 100 c
options end at --|don't know|1|-- --encoding=utf-8 5 ft
a minus is a sign, not an option|-40\xb0 C|0|-40 f
TABLE

# Standard input: one line out per line in; CR is white space; a last line without LF counts.
lines=$(printf '5 ft\r\n\n  \t\n5\n100 C\n\xff\x80 kg\n5'"'"'10' | "$cli" | od -An -c | tr -s ' \n' ' ')
expected=$(printf '1.52 m\n\n\ndon'"'"'t know\n212\xb0 F\ndon'"'"'t know\n1.78 m\n' | od -An -c | tr -s ' \n' ' ')
check "standard input" "$expected" "$lines"
check "status of line mode" "0" "$(printf 'nonsense\n' | "$cli" >/dev/null; echo $?)"
check "no input, no output" "" "$("$cli" </dev/null)"

check "UTF-8 locale, and an option over it" "$(printf '212\xc2\xb0 F\n212\xb0 F')" \
  "$(LC_ALL=C.UTF-8 "$cli" 100 c; LC_ALL=C.UTF-8 "$cli" --encoding=latin1 100 c)"
check "standard input in UTF-8" "$(printf '212\xc2\xb0 F\n1.52 m')" "$(printf '100 c\n5 ft' | "$cli" --encoding=utf-8)"
check "unknown option" ":2:1" "$("$cli" --colour 5 ft 2>/dev/null; echo ":$?:$("$cli" --colour 2>&1 | grep -c "option '--colour'")")"
check "unknown encoding" ":2:1" "$("$cli" --encoding=ascii 5 ft 2>/dev/null; echo ":$?:$("$cli" --encoding=ascii 2>&1 | grep -c "encoding 'ascii'")")"
check "write failure" "2" "$("$cli" 5 ft 2>/dev/null >/dev/full; echo $?)"
check "lines across reads" "30000" "$(yes '5 ft' | head -30000 | "$cli" | grep -c '^1\.52 m$')"

long=$(head -c 100000 /dev/zero | tr '\0' ' ')
check "a 100 kB line" "1.52 m" "$(printf '%s5 ft%s\n' "$long" "$long" | "$cli")"
check "help" "0" "$("$cli" --help | grep -q -- '--encoding=latin1'; echo $?)"

echo "cli: $passes passed, $failures failed"
[ "$failures" -eq 0 ]
