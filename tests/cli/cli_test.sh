#!/usr/bin/env bash
# ostrel-convert from the outside: argument and line modes, exit codes, raw bytes in and out.
set -u
cli=$1
failures=0
passes=0

check() {  # name, expected bytes (printf format), actual bytes
  if [ "$2" = "$3" ]; then passes=$((passes + 1)); else
    failures=$((failures + 1))
    echo "FAIL $1: expected $(printf '%q' "$2"), got $(printf '%q' "$3")"
  fi
}

# Arguments: joined by single spaces, one line out, status 0 only for a result.
while IFS='|' read -r name expected status args; do
  eval "set -- $args"
  actual=$("$cli" "$@"; echo "rc=$?")
  check "$name" "$(printf "$expected")"$'\n'"rc=$status" "$actual"
done <<'TABLE'
joined words|1.52 m|0|5 ft
one argument|1.78 m|0|"5'10"
spaces kept inside|1.52 m|0|"  5" "ft  "
no unit|don't know|1|5
quoted text|don't know|1|'"5 ft"'
blank|\n|1|"   "
no-break space is no white space|don't know|1|$'5\xa0ft'
temperature|212\xb0 F|0|100 c
TABLE

# Standard input: one line out per line in; CR is white space; a last line without LF counts.
lines=$(printf '5 ft\r\n\n  \t\n5\n100 C\n\xff\x80 kg\n5'"'"'10' | "$cli" | od -An -c | tr -s ' \n' ' ')
expected=$(printf '1.52 m\n\n\ndon'"'"'t know\n212\xb0 F\ndon'"'"'t know\n1.78 m\n' | od -An -c | tr -s ' \n' ' ')
check "standard input" "$expected" "$lines"
check "status of line mode" "0" "$(printf 'nonsense\n' | "$cli" >/dev/null; echo $?)"
check "no input, no output" "" "$("$cli" </dev/null)"

long=$(head -c 100000 /dev/zero | tr '\0' ' ')
check "a 100 kB line" "1.52 m" "$(printf '%s5 ft%s\n' "$long" "$long" | "$cli")"
check "help" "0" "$("$cli" --help | grep -q '^usage: ostrel-convert'; echo $?)"

echo "cli: $passes passed, $failures failed"
[ "$failures" -eq 0 ]
