#!/usr/bin/env bash
# The built ostrel.chm: its usage topic with its sections and its table of units, every one of the
# 37 conversions and 122 spellings, quotes, apostrophes and degree signs written as HTML.
# Usage: help-check.sh ostrel.chm
set -eu
page=$(chmls extract "$1" /html/usage.htm /dev/stdout)  # the page, then a line that says so
for needed in "<title>Using Ostrel</title>" "Feet and inches" "exit code 2" "up to 80 characters" \
    "<code>&quot;</code>, <code>in</code>" "<code>&#39;</code>, <code>feet</code>" "<td>&deg; F</td><td class=\"factor\">1.8</td>" \
    "<td>oz</td><td class=\"factor\">0.00003527399</td>" "<code>kmh</code>, <code>kmph</code>, <code>kph</code></td><td>mph</td>"; do
  grep -qF -- "$needed" <<<"$page" || { echo "the usage topic lacks: $needed"; exit 1; }
done
table=$(sed -n '/<table class="units">/,/<\/table>/p' <<<"$page")
counts="$(grep -o '<td class="factor">' <<<"$table" | wc -l) conversions, $(grep -o '<code>' <<<"$table" | wc -l) spellings"
echo "help file: $counts"
[ "$counts" = "37 conversions, 122 spellings" ]
