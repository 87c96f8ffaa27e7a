#!/usr/bin/env bash
# Builds every preset and runs every test: the engine natively, under ASan/UBSan and as i386;
# the Windows builds' unit and end-to-end tests under Wine. Ends with ctest's summary; exits
# non-zero on any failure. Installs what is missing on a Debian 12 machine first.
set -eu
cd "$(dirname "$0")"
scripts/deps.sh all

# The i386 engine tests run natively where the kernel runs 32-bit code, else through qemu-i386.
i386_runner=""
probe=build/i386-probe
mkdir -p build
printf 'int main() { return 0; }\n' > "$probe.c"
gcc -m32 -static "$probe.c" -o "$probe"
if ! "$probe" 2>/dev/null; then
  echo "32-bit code cannot run natively here: the i386 engine tests run through qemu-i386."
  i386_runner=qemu-i386
fi

presets=(native native-asan native-i386 fuzz win32 win64)
for preset in "${presets[@]}"; do
  extra=()
  [ "$preset" = native-i386 ] && extra=(-DOSTREL_TEST_RUNNER="$i386_runner")
  cmake --preset "$preset" "${extra[@]}" >/dev/null
  cmake --build "build/$preset" -j2
done

# One ctest run over every preset, so that one summary closes the output.
{
  echo "# Every preset's tests; written by test.sh."
  printf 'subdirs("%s")\n' "${presets[@]}"
} > build/CTestTestfile.cmake

status=0
xvfb-run -a -s "-screen 0 1280x1024x24" \
  ctest --test-dir build --output-on-failure -j2 || status=$?

. scripts/wine.sh
for prefix in build/win32/wineprefix* build/win64/wineprefix*; do
  [ -d "$prefix" ] && { WINEPREFIX="$PWD/$prefix" wine_server -k 2>/dev/null || true; }
done
exit $status
