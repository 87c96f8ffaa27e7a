#!/usr/bin/env bash
# Runs Ostrel: opens the real window under Wine with TEXT as its command line (./run.sh 5 ft).
# Without a display it prints the conversion of TEXT instead (of -b TEXT too), and says how to see
# the window; with no TEXT at a terminal, how to use it.
# Installs what is missing on a Debian 12 machine first.
set -eu
cd "$(dirname "$0")"

if [ -z "${DISPLAY:-}" ]; then
  # No clipboard to put batch mode's answer on: it is printed as any other.
  case "${1:-}" in
    -b) shift ;;
    -b*) set -- "${1#-b}" "${@:2}" ;;
  esac
  if [ $# -eq 0 ] && [ -t 0 ]; then
    echo "usage: ./run.sh TEXT, for example ./run.sh 5 ft (no display here, so the conversion is printed)" >&2
    exit 2
  fi
  scripts/deps.sh native
  cmake --preset native >/dev/null
  cmake --build build/native -j2 --target ostrel-convert >/dev/null
  build/native/ostrel-convert "$@" || true
  echo "(No display here, so this is the conversion only. To see the window, run ./run.sh" \
       "in a graphical session, or copy build/win32/ostrel.exe to a Windows machine.)" >&2
  exit 0
fi

scripts/deps.sh wine
. scripts/wine.sh
preset=win32
if ! can_run_32bit; then
  echo "32-bit code cannot run on this machine: opening the 64-bit build instead." >&2
  preset=win64
fi
cmake --preset "$preset" >/dev/null
cmake --build "build/$preset" -j2 --target ostrel >/dev/null
export WINEPREFIX="$PWD/build/wineprefix"  # the user's own prefix: the window position persists
ensure_wine_prefix
cd "build/$preset"  # Help finds ostrel.chm beside the program
exec "$(wine_for ostrel.exe)" ostrel.exe "$@"
