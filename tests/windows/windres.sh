#!/usr/bin/env bash
# Compiles the Windows resource script with mingw's windres, as a MinGW build
# of roomboard.exe would, and reads the result back to check what Windows will
# show: the icon's size and depth, the Japanese language and version texts.
#   windres.sh RC-FILE ICON-DIR
set -euo pipefail
rc=$1
icons=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# windres preprocesses with the mingw gcc, which a Debian machine that only
# checks resources does not have; the host's cpp does the same job here.
windres=(x86_64-w64-mingw32-windres --preprocessor=cpp --preprocessor-arg=-DRC_INVOKED -I "$icons")
"${windres[@]}" -O coff -i "$rc" -o "$work/roomboard.res.o"
"${windres[@]}" -O res -i "$rc" -o "$work/roomboard.res"
x86_64-w64-mingw32-windres -J res -O rc -i "$work/roomboard.res" -o "$work/back.rc"

failed=0
expect() {
    if ! grep -qxF -- "$1" "$work/back.rc"; then
        echo "FAIL: compiled resources lack: $1" >&2
        failed=1
    fi
}
# Written back as UTF-16 code points: 特別教室予約ボード. Mojibake here means
# the script's code page was not taken as UTF-8.
expect '      VALUE "ProductName", L"\x7279\x5225\x6559\x5ba4\x4e88\x7d04\x30dc\x30fc\x30c9"'
expect '      VALUE "FileDescription", L"\x7279\x5225\x6559\x5ba4\x4e88\x7d04\x30dc\x30fc\x30c9"'
expect '      VALUE "FileVersion", "1.00"'
expect '      VALUE "ProductVersion", "1.00"'
expect '      VALUE "OriginalFilename", "roomboard.exe"'
expect '    BLOCK "041104B0"'
expect '    VALUE "Translation", 0x411, 1200'
expect ' FILEVERSION 1, 0, 0, 0'
expect ' PRODUCTVERSION 1, 0, 0, 0'
# Every resource Japanese (LANG_JAPANESE, SUBLANG_DEFAULT), none in English.
expect 'LANGUAGE 17, 1'
if grep -q '^LANGUAGE' "$work/back.rc" && grep '^LANGUAGE' "$work/back.rc" | grep -vqxF 'LANGUAGE 17, 1'; then
    echo "FAIL: a resource in another language: $(grep '^LANGUAGE' "$work/back.rc" | sort -u | tr '\n' ' ')" >&2
    failed=1
fi
# One icon image, 64 wide (\100), 45 high (\055), 24 bits a pixel.
expect '   0, 1, 1,	 /* Has 1 elements.  */'
if ! grep -qF '    "\100\055\000\000", 1, 24, ' "$work/back.rc"; then
    echo "FAIL: the icon is not one 64 × 45 image of 24 bits" >&2
    failed=1
fi
[[ $failed -eq 0 ]] && echo "resources ok"
exit $failed
