#!/usr/bin/env bash
# Static analysis with zero findings allowed: clang-tidy (.clang-tidy) and cppcheck over the
# engine, the command line and the Windows shell. Needs build/native and build/win32 configured
# (their compile_commands.json); the shell is analysed with the mingw C++ and Windows headers it
# is built with, and clang's own compiler headers (gcc's intrinsics do not parse in clang).
set -u
cd "$(dirname "$0")/.."
status=0

echo "== clang-tidy: engine and command line"
clang-tidy -p build/native --quiet engine/*.cpp cli/main.cpp cli/input.cpp cli/posix.cpp 2>/dev/null || status=1

echo "== clang-tidy: Windows shell and command line"
mingw_args=(--extra-arg=--target=i686-w64-mingw32 --extra-arg=-nostdinc++)
while read -r dir; do
  mingw_args+=("--extra-arg=-isystem$dir")
done < <(echo | i686-w64-mingw32-g++-posix -E -x c++ - -v 2>&1 |
         sed -n '/#include <...> search starts here/,/End of search list/p' | grep '^ /' | sed 's/^ //' | grep -v -E '/include(-fixed)?$')
clang-tidy -p build/win32 --quiet "${mingw_args[@]}" shell/*.cpp cli/windows.cpp 2>/dev/null || status=1

echo "== cppcheck"
cppcheck --enable=warning,style,performance,portability --std=c++17 --inline-suppr --quiet \
  --error-exitcode=1 -D_WIN32 -DWIN32 -I engine -I shell -I resources \
  --suppress=missingIncludeSystem engine cli shell || status=1

if [ "$status" -eq 0 ]; then echo "static analysis: 1 passed, 0 failed"; else echo "static analysis: 0 passed, 1 failed"; fi
exit "$status"
