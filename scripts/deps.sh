#!/usr/bin/env bash
# Installs the Debian packages (and locales) a build or test run needs, and only those missing,
# so a second run costs nothing. Usage: scripts/deps.sh native|windows|wine|bench|all
set -eu

want=(cmake g++ make libgtest-dev googletest libbenchmark-dev groff-base man-db)
case "${1:-all}" in
  native) ;;
  bench) want+=(units linux-perf) ;;
  windows) want+=(g++-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64-i686 fp-utils imagemagick icoutils git python3) ;;
  wine|all)
    want+=(g++-multilib qemu-user clang llvm libclang-rt-14-dev clang-tidy cppcheck
           g++-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64-i686 fp-utils
           wine wine64 wine32:i386 xvfb xauth xdotool x11-utils imagemagick openbox icoutils git python3 locales) ;;
  *) echo "usage: $0 native|windows|wine|bench|all" >&2; exit 2 ;;
esac

missing=()
for p in "${want[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}" >&2
  for p in "${missing[@]}"; do
    if [[ $p == *:i386 ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
      $sudo dpkg --add-architecture i386
    fi
  done
  $sudo apt-get update -q >&2
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q "${missing[@]}" >&2
fi

# Wine takes the system's code page from the locale: the end-to-end tests run under these.
if [[ " ${want[*]} " == *" locales "* ]]; then
  for locale in en_US ru_RU th_TH ja_JP zh_CN ko_KR; do
    locale -a | grep -qx "$locale.utf8" || $sudo localedef -i "$locale" -f UTF-8 "$locale.UTF-8"
  done
fi
