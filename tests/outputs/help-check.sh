#!/usr/bin/env bash
# The built ostrel.chm: its usage topic has every section, and its table of units all 37
# conversions and 109 spellings, with quotes, apostrophes and degree signs written as HTML.
# Usage: help-check.sh ostrel.chm WORK-FOLDER
set -eu
mkdir -p "$2"
chmls extract "$1" /html/usage.htm "$2/usage.htm" >/dev/null
page=$(cat "$2/usage.htm")
status=0
for needed in "<title>Using Ostrel</title>" "Feet and inches" "don't know" "The menu" "batch mode" \
    "exit code 2" "up to 80 characters" "One window at a time" "<code>&quot;</code>, <code>in</code>" \
    "<code>&#39;</code>, <code>feet</code>" "<td>&deg; F</td><td class=\"factor\">1.8</td>" \
    "<td>oz</td><td class=\"factor\">0.00003527399</td>" "<code>km/h</code>, <code>kmh</code></td><td>mph</td>"; do
  grep -qF -- "$needed" <<<"$page" || { echo "the usage topic lacks: $needed"; status=1; }
done
table=$(sed -n '/<table class="units">/,/<\/table>/p' <<<"$page")
rows=$(grep -o '<td class="factor">' <<<"$table" | wc -l)
spellings=$(grep -o '<code>' <<<"$table" | wc -l)
echo "help file: $rows conversions, $spellings spellings"
[ "$rows" -eq 37 ] && [ "$spellings" -eq 109 ] && exit $status
exit 1
