#!/usr/bin/env bash
# Runs the fuzz targets for as long as one likes: scripts/fuzz.sh [SECONDS each, default 600]
# [NAME...] (convert, numbers, textrules; default every target). New inputs collect in
# build/fuzz, so a run in pieces goes on where the last piece stopped; crashes are written there
# as crash-* files.
set -eu
cd "$(dirname "$0")/.."
seconds=${1:-600}
[ $# -gt 0 ] && shift
scripts/deps.sh all
cmake --preset fuzz >/dev/null
cmake --build build/fuzz -j2
names=("$@")
if [ ${#names[@]} -eq 0 ]; then
  for target in build/fuzz/tests/fuzz/*_fuzz; do names+=("$(basename "$target" _fuzz)"); done
fi
for name in "${names[@]}"; do
  echo "== $name: $seconds s"
  (cd build/fuzz/tests/fuzz && "./${name}_fuzz" -max_total_time="$seconds" -print_final_stats=1 \
     -entropic_scale_per_exec_time=1 "corpus/$name" "../../../../tests/fuzz/corpus/$name")
done
