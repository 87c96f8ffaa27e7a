#!/usr/bin/env bash
# Streaming speed of ostrel-convert against GNU units, timed in the same run, interleaved: the
# same kinds of conversion, one line each for ostrel-convert and a have/want pair for `units -t`.
# Prints the median time per line of each (start-up subtracted) and the median of the ratios of
# rounds run back to back, which holds better than either time where the machine's speed drifts.
# Usage: bench/stream.sh [units pairs, default 50000] [--profile]; ostrel-convert gets 100 times
# as many lines. With --profile, perf also shows where ostrel-convert spends its time.
# OSTREL_CONVERT=path times another build of ostrel-convert (an older one, say) instead.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
lines=50000
scale=100
profile=0
for arg in "$@"; do
  case $arg in
    --profile) profile=1 ;;
    *[!0-9]* | '') echo "usage: $0 [lines] [--profile]" >&2; exit 2 ;;
    *) lines=$arg ;;
  esac
done
rounds=9

"$root/scripts/deps.sh" bench
cli=${OSTREL_CONVERT:-$root/build/native/ostrel-convert}
if [ -z "${OSTREL_CONVERT:-}" ]; then
  cmake --preset native -S "$root" >/dev/null
  cmake --build "$root/build/native" --target ostrel-convert >/dev/null
fi
work=$root/build/native/bench-stream
mkdir -p "$work"

# One row per conversion: Ostrel's spelling, then what units is given for the same quantity
# ("%s" stands for the number) and the unit it is asked for.
awk -v lines="$lines" -v scale="$scale" -v work="$work" '
BEGIN {
  n = split("ft|%s ft|m;m|%s m|ft;kg|%s kg|lb;lb|%s lb|kg;mile|%s mile|km;km|%s km|mile;" \
            "l|%s l|brgallon;gal|%s brgallon|l;in|%s in|cm;cm|%s cm|in;acre|%s acre|hectare;" \
            "ha|%s hectare|acre;oz|%s oz|g;g|%s g|oz;stone|%s stone|kg;km/h|%s km/hr|mile/hr;" \
            "mph|%s mile/hr|km/hr;c|tempC(%s)|tempF;f|tempF(%s)|tempC;pints|%s brpint|l;" \
            "yd|%s yd|m;hp|%s hp|kW", row, ";")
  srand(12)
  for (i = 0; i < lines * scale; ++i) {
    split(row[1 + int(rand() * n)], part, "|")
    r = rand()
    if (r < 0.4) number = sprintf("%d", 1 + int(rand() * 99999))
    else if (r < 0.8) number = sprintf("%.*f", 1 + int(rand() * 3), rand() * 1000)
    else number = sprintf("%.*f", 1 + int(rand() * 4), rand())
    print number " " part[1] > (work "/ostrel.txt")
    if (i < lines) printf(part[2] "\n%s\n", number, part[3]) > (work "/units.txt")
  }
}'
: > "$work/empty.txt"

# Wall time of one run in nanoseconds.
run_ns() {  # input, command...
  local input=$1 start end
  shift
  start=$(date +%s%N)
  "$@" < "$input" > /dev/null
  end=$(date +%s%N)
  echo $((end - start))
}

# Start-up, measured on empty input, is subtracted from every run.
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
idle_units=$(for ((r = 0; r < 5; ++r)); do run_ns "$work/empty.txt" units -t; done | median)
idle_ostrel=$(for ((r = 0; r < 5; ++r)); do run_ns "$work/empty.txt" "$cli"; done | median)
rows=()
for ((r = 0; r < rounds; ++r)); do
  u=$(run_ns "$work/units.txt" units -t)
  o=$(run_ns "$work/ostrel.txt" "$cli")
  rows+=("$(awk -v u="$u" -v o="$o" -v iu="$idle_units" -v io="$idle_ostrel" -v n="$lines" -v s="$scale" \
    'BEGIN { un = (u - iu) / n; on = (o - io) / (n * s); printf "%.1f %.1f %.1f", un, on, un / on }')")
done
column() { printf '%s\n' "${rows[@]}" | awk -v c="$1" '{ print $c }' | median; }
echo "GNU units -t:   $(column 1) ns per conversion ($lines pairs, median of $rounds rounds)"
echo "ostrel-convert: $(column 2) ns per line ($((lines * scale)) lines, median of $rounds rounds)"
echo "ratio: $(column 3) times GNU units (median of the rounds' ratios; start-up subtracted)"

if [ "$profile" -eq 1 ]; then
  perf record -q -o "$work/perf.data" -F 20000 "$cli" < "$work/ostrel.txt" > /dev/null 2>&1
  echo "Where ostrel-convert spends its time, by library and by function:"
  perf report -i "$work/perf.data" --no-children --sort dso --stdio 2>/dev/null | grep -E '^ +[0-9.]+%' | head -4
  perf report -i "$work/perf.data" --no-children --sort sym --stdio 2>/dev/null | grep -E '^ +[0-9.]+%' | head -12
fi
