#!/usr/bin/env bash
# Runs every fuzz target for as long as one likes: scripts/fuzz.sh [SECONDS each, default 600].
# New inputs collect in build/fuzz; crashes are written there as crash-* files.
set -eu
cd "$(dirname "$0")/.."
seconds=${1:-600}
scripts/deps.sh all
cmake --preset fuzz >/dev/null
cmake --build build/fuzz -j2
for target in build/fuzz/tests/fuzz/*_fuzz; do
  name=$(basename "$target" _fuzz)
  echo "== $name: $seconds s"
  (cd build/fuzz/tests/fuzz && "./$(basename "$target")" -max_total_time="$seconds" -print_final_stats=1 \
     "corpus/$name" "../../../../tests/fuzz/corpus/$name")
done
