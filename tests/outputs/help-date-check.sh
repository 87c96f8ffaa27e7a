#!/usr/bin/env bash
# The help file carries the build date, even the earliest: compiled twice, a second apart, with
# SOURCE_DATE_EPOCH=0, it is the same. Usage: help-date-check.sh SOURCE-TREE WORK-FOLDER TOOLCHAIN-FILE
set -eu
rm -rf "$2" && trap 'rm -rf "$2"' EXIT
SOURCE_DATE_EPOCH=0 cmake -S "$1" -B "$2" --toolchain "$3" -DOSTREL_TESTS=OFF >/dev/null
for run in 1 2; do
  rm -f "$2/ostrel.chm" && sleep 1 && cmake --build "$2" --target ostrel_help >/dev/null && cp "$2/ostrel.chm" "$2/$run.chm"
done
cmp "$2/1.chm" "$2/2.chm" && echo "the same help file from both runs"
