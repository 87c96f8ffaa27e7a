#!/usr/bin/env bash
# ostrel-convert from the outside: argument and line modes, encodings, exit codes and messages,
# raw bytes in and out. Usage: cli_test.sh COMMAND..., the Linux program or the runner of the
# Windows one and its ostrel-convert.exe, whose output here goes to pipes.
set -u
cli=("$@")
export LC_ALL=C  # a locale without a character set of its own: UTF-8 is written, and read where well formed
failures=0 passes=0
check() {  # name, expected bytes, actual bytes
  if [ "$2" = "$3" ]; then passes=$((passes + 1)); else
    failures=$((failures + 1)) && echo "FAIL $1: expected $(printf '%q' "$2"), got $(printf '%q' "$3")"
  fi
}
# Windows ends lines as its text files do.
line_end='\n'
if [[ ${*: -1} == *.exe ]]; then
  line_end='\r\n'
  probe=$("${cli[@]}" --help) || { [ $? -ne 77 ] || { echo "$probe"; exit 77; }; }  # the runner skips it
  [[ $probe == usage:* ]] || echo "${probe%%$'\n'*}"  # which build stands in, said once
  unset OSTREL_END_TO_END  # so that the runner's notice stays out of the outputs compared
  export LC_ALL=C.UTF-8  # Wine decodes the arguments it hands on by the locale
fi

version=$(sed -n 's/^project(Ostrel VERSION \([0-9]*\.[0-9]*\).*/\1/p' "$(dirname "$0")/../../CMakeLists.txt")

# Standard input: a printf format, sent in UTF-16 of the order named before it, with its byte order mark.
feed() {
  case $1 in
    '<utf-16le>'*) printf '\xff\xfe' && printf -- "${1#*>}" | iconv -f UTF-8 -t UTF-16LE ;;
    '<utf-16be>'*) printf '\xfe\xff' && printf -- "${1#*>}" | iconv -f UTF-8 -t UTF-16BE ;;
    *) printf -- "$1" ;;
  esac
}

# Standard input ("-" for none) and expected output are printf formats, "<deg>" standing for the
# degree sign in UTF-8 and "<version>" for the project's; output and errors are read together, then
# the status. Windows reads its arguments as UTF-16: rows of Latin-1 arguments are Linux's alone.
while IFS='|' read -r name input args expected; do
  [[ $name == *'(Linux)' && $line_end == '\r\n' ]] && continue
  eval "set -- $args"
  if [ "$input" = - ]; then actual=$("${cli[@]}" "$@" 2>&1; echo "$?"); else actual=$(feed "$input" | "${cli[@]}" "$@" 2>&1; echo "$?"); fi
  expected=${expected//<deg>/\\xc2\\xb0} expected=${expected//<version>/$version}
  check "$name" "$(printf -- "${expected//\\n/$line_end}")" "$actual"
done <<'TABLE'
joined words|-|5 ft|1.52 m\n0
one argument|-|"5'10"|1.78 m\n0
spaces kept inside|-|"  5" "ft  "|1.52 m\n0
no unit|-|5|don't know\n1
quoted text|-|'"5 ft"'|don't know\n1
blank|-|"   "|\n1
temperature|-|100 c|212<deg> F\n0
latin1 chosen|-|--encoding=latin1 100 c|212\xb0 F\n0
encoding names in any case, as a word of its own|-|--encoding UTF8 100 c|212<deg> F\n0
encoding names with a hyphen|-|--encoding=Latin-1 100 c|212\xb0 F\n0
an encoding's name missing|-|--encoding|ostrel-convert: unknown encoding '': use utf-8 or latin1\n2
options end at --|-|-- --encoding=utf-8 5 ft|don't know\n1
a minus is a sign, not an option|-|-40 f|-40<deg> C\n0
unknown option|-|--colour 5 ft|ostrel-convert: unknown option '--colour' (see ostrel-convert --help)\n2
unknown encoding|-|--encoding=ascii 5 ft|ostrel-convert: unknown encoding 'ascii': use utf-8 or latin1\n2
version|-|--version 5 ft|ostrel-convert (Ostrel) <version>\n0
one line out per line in, CR LF, a last line without LF|5 ft\r\n\n  \t\n5\n100 C\r\n\xff\x80 kg\n5'10||1.52 m\n\n\ndon't know\n212<deg> F\ndon't know\n1.78 m\n0
line mode's status|nonsense\n||don't know\n0
a NUL byte spoils its line only|5 ft\0junk\n \0\n5 ft||don't know\ndon't know\n1.52 m\n0
no input, no output|||0
standard input in UTF-8|100 c\n5 ft|--encoding=utf-8|212\xc2\xb0 F\n1.52 m\n0
a 100 kB line|%100000s5 ft%100000s\n||1.52 m\n0
typed forms as arguments|-|--encoding=utf-8 5’10½″|1.79 m\n0
typed minus, an answer fed back|-|--encoding=utf-8 −40 °F|-40\xc2\xb0 C\n0
an option echoed as typed|-|--colour°|ostrel-convert: unknown option '--colour\xc2\xb0' (see ostrel-convert --help)\n2
Latin-1 arguments (Linux)|-|--encoding=latin1 $'100 \xb0C'|212\xb0 F\n0
Latin-1 fraction (Linux)|-|--encoding=latin1 $'10\xbd in'|26.67 cm\n0
typed forms as UTF-8 lines|5′ 10 ¾″\n100 °C\n11st 4lb\n10 litres\n1 1/2 in\n5 ft 10 in\n5​ ft\n||1.80 m\n212<deg> F\n71.67 kg\n2.20 gal\n3.81 cm\n1.78 m\n1.52 m\n0
lines not UTF-8: Latin-1 in the C locale, the ANSI code page without a console|100 \xb0C\n10\xbd in\n||212<deg> F\n26.67 cm\n0
typed forms as Latin-1 lines|100 \xb0C\n10\xbd in\n5\xb4 10|--encoding=latin1|212\xb0 F\n26.67 cm\n1.78 m\n0
UTF-8 byte order marks: gone, the lines UTF-8|\xef\xbb\xbf5 ft\n100 ℃\n\xef\xbb\xbf2 kg\n||1.52 m\n212<deg> F\n4.41 lbs\n0
UTF-16LE, CR LF, a unit holding 0A, no last LF|<utf-16le>5 ft\r\n100 ℃\n5 ftĊ\n5 ft||1.52 m\n212<deg> F\ndon't know\n1.52 m\n0
UTF-16BE, a unit holding 0A|<utf-16be>−40 °F\n5 ftਅ\n5 ft\n||-40<deg> C\ndon't know\n1.52 m\n0
TABLE

# A locale not installed here (en_ZZ) still names its character set.
[ "$line_end" = '\r\n' ] || check "UTF-8 locales, set or only named, and an option over them" \
  "$(printf '212\xc2\xb0 F\n212\xc2\xb0 F\n212\xb0 F\n212\xb0 F\n-40\xc2\xb0 C')" \
  "$(LC_ALL=C.UTF-8 "${cli[@]}" 100 ℃; LC_ALL=en_ZZ.UTF-8 "${cli[@]}" 100 c
     LC_ALL='' LC_CTYPE=en_ZZ.ISO-8859-1 LANG=en_ZZ.UTF-8 "${cli[@]}" 100 c; LC_ALL=C.UTF-8 "${cli[@]}" --encoding=latin1 100 c
     printf '−40 °F' | LC_ALL=C.UTF-8 "${cli[@]}")"
check "write failure" "2" "$("${cli[@]}" 5 ft 2>/dev/null >/dev/full; echo $?)"
check "help's write failure, said" "$(printf 'ostrel-convert: cannot write standard output: \n2')" \
  "$("${cli[@]}" --help 2>&1 >/dev/full | cut -c1-46; echo "${PIPESTATUS[0]}")"
for option in --help -h; do check "help ($option)" "0" "$("${cli[@]}" "$option" | grep -q -- '--encoding=latin1'; echo $?)"; done

echo "cli: $passes passed, $failures failed"
[ "$failures" -eq 0 ]
