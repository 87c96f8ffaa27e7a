#!/usr/bin/env bash
# Size of the tests against the code they test: non-blank lines of tracked source, script and build
# files under tests/ against those elsewhere; documents, pictures, data and fuzz corpora left out.
# Usage: scripts/test-ratio.sh (prints both counts and the ratio)
set -eu
cd "$(dirname "$0")/.."
git ls-files | grep -v -E '\.(png|ico|xpm|bmp|md|json|htm|html|css|hhp|hhc|txt|csv)$|(^|/)corpus/' |
  while read -r file; do
    [ -f "$file" ] && printf '%s\t%s\n' "$(grep -cv '^[[:space:]]*$' "$file")" "$file"
  done |
  awk -F'\t' '$2 ~ /^tests\// { tests += $1; next } { code += $1 }
              END { printf "tests %d lines, code %d lines, ratio %.2f\n", tests, code, tests / code }'
