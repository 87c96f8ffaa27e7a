#!/usr/bin/env bash
# Takes docs/about.png (the about box over the main window) and docs/help.png (the help viewer on
# the usage topic) from the built program, under Wine on a virtual display with openbox, so that
# window captions are drawn. Usage: scripts/screenshot-help.sh [win32|win64]
# (default: win32 where this machine runs 32-bit code, else win64). Needs ostrel.exe and
# ostrel.chm built in build/<preset>; leaves the prefix's saved window position as it found it.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/scripts/wine.sh"

preset=${1:-}
if [ -z "$preset" ]; then
  if can_run_32bit; then preset=win32; else preset=win64; fi
fi
build=$root/build/$preset
for f in ostrel.exe ostrel.chm; do
  [ -f "$build/$f" ] || { echo "$build/$f is missing: build the $preset preset first" >&2; exit 1; }
done

if [ -z "${OSTREL_SCREENSHOT_DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24" env OSTREL_SCREENSHOT_DISPLAY=1 "$0" "$preset"
fi

export WINEPREFIX=$build/wineprefix
ensure_wine_prefix
wine=$(wine_for "$build/ostrel.exe")
state='HKCU\Software\Ostrel\State'
saved=$(mktemp -d)

cleanup() {
  wine_server -k 2>/dev/null || true
  "$wine" reg delete "$state" /f >/dev/null 2>&1 || true
  if [ -f "$saved/state.reg" ]; then "$wine" reg import "$saved/state.reg" >/dev/null 2>&1 || true; fi
  wine_server -w 2>/dev/null || true
  [ -n "${wm:-}" ] && kill "$wm" 2>/dev/null || true
  rm -rf "$saved"
}
trap cleanup EXIT
"$wine" reg export "$state" "$saved/state.reg" /y >/dev/null 2>&1 || rm -f "$saved/state.reg"

# Waits up to 60 s for a visible window whose title is exactly $1 and prints its id.
wait_window() {
  local id
  for _ in $(seq 1 120); do
    id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1 || true)
    if [ -n "$id" ]; then echo "$id"; return 0; fi
    sleep 0.5
  done
  echo "no window \"$1\" appeared" >&2
  return 1
}

# The screen holds only our windows on black: trimming the black leaves them with a margin.
shoot() {
  sleep 1.5
  import -window root "$saved/screen.png"
  convert "$saved/screen.png" -trim +repage -bordercolor black -border 8 "$1"
  echo "wrote $1"
}

openbox >/dev/null 2>&1 &
wm=$!
sleep 1

# The sound of the about box has no device here; playing it must not matter.
(cd "$build" && "$wine" ostrel.exe 5 ft >/dev/null 2>&1 &)
main=$(wait_window Ostrel)
xdotool windowactivate --sync "$main"
xdotool key --clearmodifiers alt+h
sleep 0.5
xdotool key a
about=$(wait_window "About Ostrel")
shoot "$root/docs/about.png"
xdotool windowactivate --sync "$about"
xdotool key Return
sleep 0.5

xdotool windowactivate --sync "$main"
xdotool key F1
wait_window "Ostrel Help" >/dev/null
shoot "$root/docs/help.png"

# Wine's viewer cannot draw the page without Gecko, so the topic itself is shown as a browser
# renders it, from the very file that went into ostrel.chm. Only where Chromium is installed.
if command -v chromium >/dev/null; then
  chromium --headless --no-sandbox --disable-gpu --disable-quic --no-first-run \
    --disable-background-networking --disable-component-update --disable-sync \
    --user-data-dir="$saved/chromium" --window-size=800,1400 \
    --screenshot="$root/docs/help-topic.png" "file://$build/help/chm/html/usage.htm" >/dev/null 2>&1 &&
    echo "wrote $root/docs/help-topic.png"
fi
