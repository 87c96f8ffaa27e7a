# Sourced by the scripts that run Windows programs under Wine: picks the loader that fits a PE
# file and tells whether 32-bit code runs here at all (kernels without ia32 support run none, and
# then not even Wine's 32-bit loader starts).
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

# Prints i386, amd64 or unknown for a PE file.
pe_machine() {
  local offset machine
  offset=$(od -An -tu4 -j60 -N4 "$1" 2>/dev/null | tr -d ' ')
  machine=$(od -An -tx2 -j$((offset + 4)) -N2 "$1" 2>/dev/null | tr -d ' ')
  case "$machine" in 014c) echo i386 ;; 8664) echo amd64 ;; *) echo unknown ;; esac
}

can_run_32bit() {
  [ -x /usr/lib/wine/wine ] && /usr/lib/wine/wine --version >/dev/null 2>&1
}

# The Wine loader for a PE file: wine64 for 64-bit programs, wine for 32-bit ones.
wine_for() {
  if [ "$(pe_machine "$1")" = amd64 ] && command -v wine64 >/dev/null; then
    command -v wine64
  elif [ -x /usr/lib/wine/wine64 ] && [ "$(pe_machine "$1")" = amd64 ]; then
    echo /usr/lib/wine/wine64
  else
    echo wine
  fi
}

wine_server() {
  if [ -x /usr/lib/wine/wineserver64 ]; then /usr/lib/wine/wineserver64 "$@"; else wineserver "$@"; fi
}

# Creates the prefix named by WINEPREFIX once.
ensure_wine_prefix() {
  : "${WINEPREFIX:?WINEPREFIX must name a prefix under the build folder}"
  export WINEPREFIX
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    local boot=wineboot
    can_run_32bit || boot="$(command -v wine64 || echo /usr/lib/wine/wine64) wineboot"
    $boot -i >/dev/null 2>&1 || true
    wine_server -w
  fi
}
