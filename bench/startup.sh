#!/usr/bin/env bash
# Start-up cost of batch mode under Wine: `ostrel.exe -b 5 ft` against a Win32 program that only
# exits, timed in the same run, interleaved, in a warmed prefix. Prints both medians and their
# ratio. A third program that only puts a text on the clipboard shows how much of the difference
# is the platform's clipboard rather than Ostrel. Usage: bench/startup.sh [runs] (default 15 each)
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-15}

# Batch mode writes the clipboard, which needs a display: run on a private X server.
if [ -z "${OSTREL_BENCH_DISPLAY:-}" ]; then
  export OSTREL_BENCH_DISPLAY=1
  exec xvfb-run -a "$0" "$@"
fi

. "$root/scripts/wine.sh"
# The deliverable where 32-bit code runs, otherwise its 64-bit twin; the baseline matches it.
if can_run_32bit; then preset=win32 cc=i686-w64-mingw32-gcc; else preset=win64 cc=x86_64-w64-mingw32-gcc; fi
build=$root/build/$preset
exe=$build/ostrel.exe
[ -f "$exe" ] || { echo "$exe is missing: cmake --build build/$preset --target ostrel" >&2; exit 1; }

baseline=$build/bench/exit-only.exe
mkdir -p "$build/bench"
printf 'int __stdcall WinMain(void* a, void* b, char* c, int d) { (void)a; (void)b; (void)c; (void)d; return 0; }\n' \
  >"$build/bench/exit-only.c"
$cc -Os -s -mwindows -o "$baseline" "$build/bench/exit-only.c"

clipboard=$build/bench/clipboard-only.exe
cat >"$build/bench/clipboard-only.c" <<'C'
#include <string.h>
#include <windows.h>
int WINAPI WinMain(HINSTANCE a, HINSTANCE b, LPSTR c, int d)
{
    (void)a; (void)b; (void)c; (void)d;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 7);
    memcpy(GlobalLock(block), "1.52 m", 7);
    GlobalUnlock(block);
    if (OpenClipboard(NULL)) { EmptyClipboard(); SetClipboardData(CF_TEXT, block); CloseClipboard(); }
    return 0;
}
C
$cc -Os -s -mwindows -o "$clipboard" "$build/bench/clipboard-only.c"

export WINEPREFIX=$build/wineprefix
ensure_wine_prefix
wine=$(wine_for "$exe")
wine_server -p   # one server for the whole run, as on a desktop where Wine is already up
trap 'wine_server -k 2>/dev/null || true' EXIT

now_us() { echo $(($(date +%s%N) / 1000)); }
# time_us PROGRAM ARGS...: wall time of one run in microseconds; a failing run stops the bench.
time_us() {
  local start end
  start=$(now_us)
  "$wine" "$@" || { echo "run failed: $*" >&2; exit 1; }
  end=$(now_us)
  echo $((end - start))
}
median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# Warm-up: the first runs load Wine's DLLs from disk and fill the prefix's caches.
for _ in 1 2; do
  time_us "$exe" -b 5 ft >/dev/null; time_us "$baseline" >/dev/null; time_us "$clipboard" >/dev/null
done

program_times=()
baseline_times=()
clipboard_times=()
for _ in $(seq "$runs"); do
  program_times+=("$(time_us "$exe" -b 5 ft)")
  baseline_times+=("$(time_us "$baseline")")
  clipboard_times+=("$(time_us "$clipboard")")
done

program_median=$(printf '%s\n' "${program_times[@]}" | median)
baseline_median=$(printf '%s\n' "${baseline_times[@]}" | median)
clipboard_median=$(printf '%s\n' "${clipboard_times[@]}" | median)
echo "machine: $(nproc) cores, $(. /etc/os-release && echo "$PRETTY_NAME"), $("$wine" --version), $(date -u +%Y-%m-%d)"
echo "program: $exe ($(pe_machine "$exe")), $runs runs of each, interleaved"
awk -v p="$program_median" -v b="$baseline_median" -v c="$clipboard_median" 'BEGIN {
  printf "ostrel.exe -b 5 ft     median %7.1f ms\n", p / 1000
  printf "exit-only.exe          median %7.1f ms\n", b / 1000
  printf "clipboard-only.exe     median %7.1f ms\n", c / 1000
  printf "ratio to exit-only            %7.2f\n", p / b
  printf "ratio to clipboard-only       %7.2f\n", p / c
}'
