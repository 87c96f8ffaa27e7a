#!/usr/bin/env bash
# Takes the documentation's pictures of the real program under Wine, on a virtual display with a
# window manager (openbox) so that captions are drawn, in a prefix of its own whose LogPixels
# sets the display's DPI:
#   docs/ostrel-96dpi.png, docs/ostrel-144dpi.png   the main window converting 5'10
#   docs/about-96dpi.png, docs/about-144dpi.png     the about box over the main window
#   docs/help.png                                   the help viewer on the usage topic
#   docs/help-topic.png                             that topic as a browser draws it (needs Chromium)
# Usage: scripts/screenshot.sh, after the win32 build (win64 where 32-bit code does not run).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
if [ -z "${OSTREL_SCREENSHOT_DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24" env OSTREL_SCREENSHOT_DISPLAY=1 "$0" "$@"
fi
. "$root/scripts/wine.sh"
preset=win32
can_run_32bit || preset=win64
build=$root/build/$preset
export WINEPREFIX=$build/screenshot-prefix
ensure_wine_prefix
wine=$(wine_for "$build/ostrel.exe")
work=$(mktemp -d)
openbox >/dev/null 2>&1 &
wm=$!
trap 'wine_server -k 2>/dev/null || true; kill $wm 2>/dev/null || true; rm -rf "$work"' EXIT
sleep 1

# wait_window TITLE: waits up to 60 s for a visible window titled exactly TITLE, prints its id.
wait_window() {
  for _ in $(seq 120); do
    xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1 | grep . && return 0
    sleep 0.5
  done
  echo "no window \"$1\" appeared" >&2
  return 1
}

# shoot FILE: the screen holds only our windows on black; trimming leaves them with a margin.
shoot() {
  xdotool mousemove 0 0
  sleep 1.5
  import -window root "$work/screen.png"
  convert "$work/screen.png" -trim +repage -bordercolor black -border 8 "$1"
  echo "wrote $1"
}

# start DPI: the program converting 5'10 at that DPI, active; its window id in $main.
start() {
  wine_server -k 2>/dev/null || true
  "$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
  (cd "$build" && "$wine" ostrel.exe "5'10" >/dev/null 2>&1 &)
  main=$(wait_window Ostrel)
  xdotool windowactivate --sync "$main"
}

for dpi in 96 144; do
  start "$dpi"
  shoot "$root/docs/ostrel-${dpi}dpi.png"
  xdotool key --clearmodifiers alt+h
  sleep 0.5
  xdotool key a
  wait_window "About Ostrel" >/dev/null
  shoot "$root/docs/about-${dpi}dpi.png"
done

start 96
xdotool key F1
wait_window "Ostrel Help" >/dev/null
shoot "$root/docs/help.png"
# Wine's viewer draws no page without Gecko, so the topic is also shown as a browser renders it,
# from the very file that went into ostrel.chm.
if command -v chromium >/dev/null; then
  chromium --headless --no-sandbox --disable-gpu --no-first-run --user-data-dir="$work/chromium" \
    --window-size=800,1400 --screenshot="$root/docs/help-topic.png" "file://$build/help/chm/html/usage.htm" \
    >/dev/null 2>&1 && echo "wrote $root/docs/help-topic.png"
fi
