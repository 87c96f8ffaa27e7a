#!/usr/bin/env bash
# Start-up cost of batch mode under Wine: `ostrel.exe -b 5 ft` against a Win32 program that only
# exits, timed in the same run, interleaved, in a warmed prefix. Prints both medians and their
# ratio. A third program that only puts a text on the clipboard shows how much of the difference
# is the platform's clipboard rather than Ostrel. The window's start is timed too: `ostrel.exe 5 ft`
# from its process's creation until its main window is shown and waiting for input, measured by a
# small launcher that then closes it. OSTREL_BEFORE=path/to/another/ostrel.exe times that build
# (an older one, say) in the same runs, interleaved, and prints the ratios of the two.
# Usage: bench/startup.sh [runs] (default 15 each)
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

launcher=$build/bench/window-start.exe
cat >"$build/bench/window-start.c" <<'C'
#include <stdio.h>
#include <windows.h>
/* window-start PROGRAM: prints the microseconds from starting "PROGRAM 5 ft" until its main window
   is shown and waiting for input, then closes that window and waits for the program's end. */
int main(int argc, char **argv)
{
    char line[MAX_PATH + 16];
    STARTUPINFOA startup = {sizeof startup};
    PROCESS_INFORMATION program;
    LARGE_INTEGER frequency, start, shown;
    HWND window = NULL;
    if (argc < 2) return 2;
    snprintf(line, sizeof line, "\"%s\" 5 ft", argv[1]);
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    if (!CreateProcessA(argv[1], line, NULL, NULL, FALSE, 0, NULL, NULL, &startup, &program)) return 1;
    WaitForInputIdle(program.hProcess, 10000);
    for (int i = 0; i < 10000 && !((window = FindWindowA("#32770", "Ostrel")) && IsWindowVisible(window)); ++i) Sleep(1);
    QueryPerformanceCounter(&shown);
    if (!window || !PostMessageA(window, WM_CLOSE, 0, 0) || WaitForSingleObject(program.hProcess, 10000)) return 1;
    printf("%lld\n", (shown.QuadPart - start.QuadPart) * 1000000 / frequency.QuadPart);
    return 0;
}
C
$cc -Os -s -o "$launcher" "$build/bench/window-start.c"
before=${OSTREL_BEFORE:+$(realpath "$OSTREL_BEFORE")}

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
# window_us PROGRAM: the launcher's figure for that program's window.
window_us() {
  local shown
  shown=$("$wine" "$launcher" "Z:$(tr / '\\' <<<"$1")") || { echo "window start failed: $1" >&2; exit 1; }
  echo "${shown%$'\r'}"
}
median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# Warm-up: the first runs load Wine's DLLs from disk and fill the prefix's caches.
for _ in 1 2; do
  time_us "$exe" -b 5 ft >/dev/null; time_us "$baseline" >/dev/null; time_us "$clipboard" >/dev/null
  window_us "$exe" >/dev/null
  [ -z "$before" ] || { time_us "$before" -b 5 ft >/dev/null; window_us "$before" >/dev/null; }
done

program_times=()
baseline_times=()
clipboard_times=()
window_times=()
before_times=()
before_window_times=()
for _ in $(seq "$runs"); do
  program_times+=("$(time_us "$exe" -b 5 ft)")
  baseline_times+=("$(time_us "$baseline")")
  clipboard_times+=("$(time_us "$clipboard")")
  window_times+=("$(window_us "$exe")")
  if [ -n "$before" ]; then
    before_times+=("$(time_us "$before" -b 5 ft)")
    before_window_times+=("$(window_us "$before")")
  fi
done

program_median=$(printf '%s\n' "${program_times[@]}" | median)
baseline_median=$(printf '%s\n' "${baseline_times[@]}" | median)
clipboard_median=$(printf '%s\n' "${clipboard_times[@]}" | median)
window_median=$(printf '%s\n' "${window_times[@]}" | median)
echo "machine: $(nproc) cores, $(. /etc/os-release && echo "$PRETTY_NAME"), $("$wine" --version), $(date -u +%Y-%m-%d)"
echo "program: $exe ($(pe_machine "$exe")), $runs runs of each, interleaved"
awk -v p="$program_median" -v b="$baseline_median" -v c="$clipboard_median" 'BEGIN {
  printf "ostrel.exe -b 5 ft     median %7.1f ms\n", p / 1000
  printf "exit-only.exe          median %7.1f ms\n", b / 1000
  printf "clipboard-only.exe     median %7.1f ms\n", c / 1000
  printf "ratio to exit-only            %7.2f\n", p / b
  printf "ratio to clipboard-only       %7.2f\n", p / c
}'
echo "ostrel.exe 5 ft, to its window: median $(awk -v w="$window_median" 'BEGIN { printf "%.1f", w / 1000 }') ms"
if [ -n "$before" ]; then
  awk -v p="$program_median" -v w="$window_median" -v bp="$(printf '%s\n' "${before_times[@]}" | median)" \
      -v bw="$(printf '%s\n' "${before_window_times[@]}" | median)" -v name="$before" 'BEGIN {
    printf "%s: -b 5 ft median %.1f ms, to its window median %.1f ms\n", name, bp / 1000, bw / 1000
    printf "ratio of this build to it: batch %.3f, window %.3f\n", p / bp, w / bw
  }'
fi
