#!/usr/bin/env bash
# Runs a Windows test executable under Wine in the prefix named by WINEPREFIX (set by ctest to
# the build folder's own). A 32-bit program on a machine that cannot run 32-bit code is skipped
# with exit code 77, and says so.
set -eu
. "$(dirname "$0")/wine.sh"
if [ "$(pe_machine "$1")" = i386 ] && ! can_run_32bit; then
  echo "32-bit code cannot run on this machine (no ia32 support in the kernel): $(basename "$1") skipped;" \
       "the win64 build takes its place."
  exit 77
fi
# The end-to-end suite drives the deliverable where it can; the 64-bit twin stands in elsewhere.
if [ -n "${OSTREL_END_TO_END:-}" ] && [ "$(pe_machine "$1")" = amd64 ]; then
  if can_run_32bit; then
    echo "32-bit code runs here: the end-to-end tests drive build/win32/ostrel.exe; this 64-bit run is skipped."
    exit 77
  fi
  echo "32-bit code cannot run on this machine: the end-to-end tests drive build/win64/ostrel.exe instead."
fi
ensure_wine_prefix
exec "$(wine_for "$1")" "$@"
