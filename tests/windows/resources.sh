#!/usr/bin/env bash
# Reads the resources of the built roomboard.exe back with icoutils, as
# Explorer would show them: one icon of 64 × 45 pixels in 24-bit colour, and
# the Japanese version block.
#   resources.sh ROOMBOARD.EXE
set -euo pipefail
exe=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
fail() { echo "FAIL: $*" >&2; failed=1; }

listing=$(wrestool -l "$exe")
echo "$listing"
grep -q -- '--type=14 .*--language=1041' <<<"$listing" || fail "no Japanese icon group"
grep -q -- '--type=16 .*--language=1041' <<<"$listing" || fail "no Japanese version block"

wrestool -x -t 14 "$exe" >"$work/icon.ico"
icons=$(icotool -l "$work/icon.ico")
echo "$icons"
[[ $icons == "--icon --index=1 --width=64 --height=45 --bit-depth=24 --palette-size=0" ]] ||
    fail "the icon is not one 64 × 45 image of 24 bits"

# The block is UTF-16 throughout, its length fields word-aligned among the
# strings, so read as UTF-16 its texts come out whole.
wrestool -x --raw -t 16 "$exe" | iconv -c -f UTF-16LE -t UTF-8 >"$work/version"
for text in 041104B0 特別教室予約ボード FileVersion 1.00 roomboard.exe; do
    grep -qaF "$text" "$work/version" || fail "the version block lacks $text"
done
echo "version block: $(LC_ALL=C.UTF-8 sed "s/[^[:print:]]/ /g; s/  */ /g" "$work/version" | cut -c1-400)"
[[ $failed -eq 0 ]] && echo "resources ok"
exit $failed
