#!/usr/bin/env bash
# ./run.sh without a display: at a terminal (script(1) gives it one) and with no text it says how
# to use it rather than wait for standard input; batch mode's text is converted as any other.
cd "$(dirname "$0")/.." || exit 1
usage=$(env -u DISPLAY timeout 120 script -qec ./run.sh /dev/null </dev/null 2>&1; echo "status $?")
batch=$(env -u DISPLAY timeout 600 ./run.sh -b 5 ft 2>/dev/null)
[[ $usage == *'./run.sh 5 ft'*'status 2'* && $batch == '1.52 m' ]] || { printf '%s\n' "with no text: $usage" "-b 5 ft: $batch"; exit 1; }
