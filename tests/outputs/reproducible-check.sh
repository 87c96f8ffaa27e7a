#!/usr/bin/env bash
# The release package is the same byte for byte when built twice from the source tree's HEAD: two
# fresh clones in folders of other names, built one after the other with another umask, time zone
# and, under root, user. On a difference, says which zip entry differs and how.
# Usage: reproducible-check.sh SOURCE-TREE WORK-FOLDER ZIP-NAME
set -eu
source=$1 work=$2 zip=$3
commit=$(git -C "$source" rev-parse HEAD)
unset SOURCE_DATE_EPOCH  # the date must come from the commit
rm -rf "$work" && mkdir -p "$work"
trap 'rm -rf "$work"' EXIT
other_user=""  # as root, the second build is nobody's where nobody reaches the work folder
[ "$(id -u)" -ne 0 ] || ! runuser -u nobody -- test -x "$work" 2>/dev/null || other_user=nobody

build() {  # FOLDER UMASK TZ [USER]
  local clone=$work/$1 as=()
  (umask "$2" && git clone -q --no-checkout "$source" "$clone" && git -C "$clone" checkout -q --detach "$commit")
  [ -z "${4:-}" ] || { chown -R "$4" "$clone"; as=(runuser -u "$4" --); }
  "${as[@]}" env TZ="$3" HOME="$clone" sh -c "umask $2 && cd '$clone' && cmake --preset win32 -DOSTREL_TESTS=OFF &&
    cmake --build build/win32 --target package -j2" >"$clone.log" 2>&1 || { tail -20 "$clone.log"; return 1; }
  echo "built in $clone (umask $2, TZ $3, user $(id -un ${4:-}))"
}
build first 022 UTC; sleep 3  # seconds apart
build second-build-folder 077 NPT-5:45 "$other_user"

first=$work/first/build/win32 second=$work/second-build-folder/build/win32
if cmp -s "$first/$zip" "$second/$zip" && cmp -s "$first/SHA256SUMS" "$second/SHA256SUMS"; then
  echo "same $zip: $(cut -d' ' -f1 "$first/SHA256SUMS")"
  exit 0
fi
listing() {  # each entry's name, CRC, time, attributes, origin system, extra fields and flags
  python3 -c 'import sys, zipfile
for e in zipfile.ZipFile(sys.argv[1]).infolist(): print(e.filename, e.CRC, e.date_time, e.external_attr, e.create_system, e.extra, e.flag_bits)' "$1"
}
echo "the two builds of $commit differ:"
diff <(listing "$first/$zip") <(listing "$second/$zip")
exit 1
