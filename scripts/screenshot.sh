#!/usr/bin/env bash
# Takes the documentation's pictures of the real program: runs it under Xvfb with a window
# manager (openbox) that frames it, drives it with xdotool and saves each scene with import.
# Usage: scripts/screenshot.sh [scene...]   (no scene: all of them)
#   main   the main window converting 5'10          -> docs/ostrel.png
# A new scene is a function scene_NAME that calls start_program, drives the window and calls
# save_window, plus its name in SCENES.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
SCENES=(main)

# Everything runs on a private X server; the script calls itself again inside it.
if [ -z "${OSTREL_SCREENSHOT_DISPLAY:-}" ]; then
  export OSTREL_SCREENSHOT_DISPLAY=1
  exec xvfb-run -a -s "-screen 0 800x600x24" "$0" "$@"
fi

. "$root/scripts/wine.sh"
# The deliverable where 32-bit code runs, otherwise its 64-bit twin (they look the same).
preset=win32
can_run_32bit || preset=win64
exe="$root/build/$preset/ostrel.exe"
[ -f "$exe" ] || { echo "$exe is missing: cmake --build build/$preset --target ostrel" >&2; exit 1; }
export WINEPREFIX="$root/build/$preset/wineprefix"
ensure_wine_prefix
wine=$(wine_for "$exe")
mkdir -p "$root/docs"

openbox --sm-disable >/dev/null 2>&1 &
wm=$!
program=""
finish() {
  [ -n "$program" ] && kill "$program" 2>/dev/null
  wine_server -k 2>/dev/null || true
  kill "$wm" 2>/dev/null && wait "$wm" 2>/dev/null
  true
}
trap finish EXIT
# The window manager is ready once it has announced itself on the root window.
for _ in $(seq 50); do
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
  sleep 0.1
done

# start_program ARGS...: starts ostrel.exe and sets $window to its X window once it is mapped.
start_program() {
  "$wine" "$exe" "$@" &
  program=$!
  window=$(xdotool search --sync --onlyvisible --name '^Ostrel$' | head -1)
  xdotool windowactivate --sync "$window" >/dev/null 2>&1 || true
  sleep 0.5
}

# end_program: ends the program without an orderly close, so that the prefix's saved window
# position (which the tests rely on) stays as it was.
end_program() {
  kill "$program" 2>/dev/null || true
  wait "$program" 2>/dev/null || true
  program=""
}

# click_control DX DY: clicks at an offset from the top-left corner of the window's client area.
click_control() {
  eval "$(xdotool getwindowgeometry --shell "$window")"
  xdotool mousemove $((X + $1)) $((Y + $2)) click 1
}

# save_window FILE: the window with its frame, as the user sees it.
save_window() {
  xdotool mousemove 0 0
  sleep 0.5
  import -window "$window" -frame "$1"
  echo "saved $1"
}

scene_main() {
  start_program
  click_control 85 87     # the middle of the input field, below the menu bar
  xdotool type --delay 50 "5'10"
  xdotool key Return
  sleep 0.5
  save_window "$root/docs/ostrel.png"
  end_program
}

[ $# -gt 0 ] || set -- "${SCENES[@]}"
for scene in "$@"; do
  declare -F "scene_$scene" >/dev/null || { echo "unknown scene: $scene (${SCENES[*]})" >&2; exit 2; }
  "scene_$scene"
done
