#!/usr/bin/env bash
# The release package: its four files in their order, a SHA256SUMS that sha256sum accepts, a README.txt
# naming the commit; and packing that fails while writing leaves no zip. Usage: package-check.sh SOURCE BUILD ZIP
set -eu
source=$1 zip=$3 commit=$(git -C "$1" rev-parse HEAD)
cd "$2" && cmake --build . --target package >/dev/null && sha256sum -c SHA256SUMS
[ "$(cmake -E tar tf "$zip" | tr '\n' ' ')" = "ostrel.exe ostrel-convert.exe ostrel.chm README.txt " ] || { echo "other entries"; exit 1; }
python3 -c 'import sys, zipfile; sys.exit(sys.argv[2] not in zipfile.ZipFile(sys.argv[1]).read("README.txt").decode())' "$zip" "$commit" ||
  { echo "README.txt does not name commit $commit"; exit 1; }
work=$(mktemp -d) && trap 'rm -rf "$work"' EXIT && cp ostrel.exe "$work"  # written into files of at most 4 KB: fails midway
! (ulimit -f 4 && python3 "$source/package/package.py" "$work" x.zip "$source/package/README.txt" 1.0 0 "$source" ostrel.exe) 2>/dev/null &&
  [ "$(ls "$work")" = ostrel.exe ] || { echo "failed packing left: $(ls "$work" | tr '\n' ' ')"; exit 1; }
