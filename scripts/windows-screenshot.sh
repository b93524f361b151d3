#!/usr/bin/env bash
# Screenshots of the Windows program under Wine, in a Wine desktop of its own
# so the windows wear Windows' title bars: the board of 理科室 on Wednesday
# 2018-08-01 with a few bookings, then the class dialog open over it.
#   scripts/windows-screenshot.sh BOARD.png DIALOG.png
# After `make windows` and `make windows-test` (which makes the Wine prefix).
# Needs xvfb, faketime, xdotool and imagemagick.
set -euo pipefail
board_png=$(realpath -m "$1")
dialog_png=$(realpath -m "$2")
cd "$(dirname "$0")/.."
build=$(realpath "${WINDOWS_BUILD:-build-windows}")
export WINEPREFIX=$build/wine WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export LANG=C.UTF-8 LC_ALL=C.UTF-8 TZ=Asia/Tokyo
[[ -f $WINEPREFIX/.roomboard-ready ]] || { echo "run make windows-test first" >&2; exit 1; }

work=$(mktemp -d)
trap 'wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT
cp -r "$build/roomboard-win64/." "$work/"
cp "$work/roomboard.exe" "$work/理科室.exe"
printf '"07/30-3","%s"\r\n"07/31-1","%s"\r\n"08/01-0","%s"\r\n"08/06-2","%s"\r\n"08/08-5","%s"\r\n' \
    "$(printf '１-２　数学' | iconv -f UTF-8 -t CP932)" \
    "$(printf '３Ｃ　　国語' | iconv -f UTF-8 -t CP932)" \
    "$(printf '１Ａ　　理科' | iconv -f UTF-8 -t CP932)" \
    "$(printf 'その他　委員会' | iconv -f UTF-8 -t CP932)" \
    "$(printf '２-４　技術' | iconv -f UTF-8 -t CP932)" >"$work/理科室.dat"

xvfb-run -a -s "-screen 0 1400x1000x24" bash -c '
    cd "$0"
    faketime --exclude-monotonic "2018-08-01 09:00:00" \
        wine explorer /desktop=roomboard,1400x1000 ./理科室.exe &
    # Inside a Wine desktop the windows are not X windows of their own: wait
    # for the desktop, then give the board time to open.
    for _ in $(seq 100); do
        xdotool search --name "roomboard" >/dev/null 2>&1 && break
        sleep 0.2
    done
    sleep 6
    # The board sits at the top left of the desktop, its frame included.
    import -window root -crop 1320x914+0+0 +repage "$1"
    # The focus starts on slot 1; one Tab on is slot 2, a free one. In the
    # dialog: ３年, Ｃ組, 理科.
    xdotool key --delay 100 Tab Return
    sleep 3
    xdotool key --delay 60 Tab Tab Home Down Down Tab Home Down Down Down \
        Tab Home Down Down Down Down Down Down Down Down
    sleep 1
    import -window root -crop 1320x914+0+0 +repage "$2"
' "$work" "$board_png" "$dialog_png"
echo "wrote $board_png $dialog_png"
