#!/usr/bin/env bash
# Runs a Windows test program under Wine in the prefix named by WINEPREFIX (the build folder's own),
# or skips it (exit 77), saying why, where it cannot run or the other build's end-to-end run counts.
set -eu
. "$(dirname "$0")/../scripts/wine.sh"
machine=$(pe_machine "$1")
if [ "$machine" = i386 ] && ! can_run_32bit; then
  echo "32-bit code does not run here (no ia32 support in the kernel): $(basename "$1") skipped."
  exit 77
elif [ -n "${OSTREL_END_TO_END:-}" ] && [ "$machine" = amd64 ]; then
  can_run_32bit && { echo "32-bit code runs here: build/win32/ostrel.exe is under test, so this 64-bit run is skipped."; exit 77; }
  echo "32-bit code does not run here: build/win64/ostrel.exe stands in for the 32-bit deliverable."
fi
ensure_wine_prefix
exec "$(wine_for "$1")" "$@"
