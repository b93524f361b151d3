#!/usr/bin/env bash
# Takes the README's screenshots: a copy of the program named after a room, a
# few bookings, a fixed date, a virtual screen, the keyboard as a teacher
# would use it.
#   scripts/screenshot.sh OUTPUT.png [build-dir]
# SHOT chooses the picture:
#   board   (default) the board as it opens
#   dialog  the class dialog open over the board, １年 ２組 数学 chosen
#   booked  the board right after booking slot 2 as １年 ２組 数学 by keyboard
#   preview the print preview that Ctrl+P opens over the board
# SCALE=2 takes it at Qt's scale factor 2, as on a high-resolution screen.
# Needs xvfb, faketime, xdotool and imagemagick.
set -euo pipefail
out=$(realpath -m "$1")
build=$(realpath "${2:-build}")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cp "$build/roomboard" "$work/理科室"
# Bookings for the week of Monday 2018-07-30, in CP932. The last one in the
# window is numbered, so the dialog opens with numbered classes.
printf '"07/30-3","%s"\r\n"07/31-1","%s"\r\n"08/01-0","%s"\r\n"08/06-2","%s"\r\n"08/08-5","%s"\r\n' \
    "$(printf '１-２　数学' | iconv -f UTF-8 -t CP932)" \
    "$(printf '３Ｃ　　国語' | iconv -f UTF-8 -t CP932)" \
    "$(printf '１Ａ　　理科' | iconv -f UTF-8 -t CP932)" \
    "$(printf 'その他　委員会' | iconv -f UTF-8 -t CP932)" \
    "$(printf '２-４　技術' | iconv -f UTF-8 -t CP932)" > "$work/理科室.dat"

scale=${SCALE:-1}
xvfb-run -a -s "-screen 0 $((1400 * scale))x$((950 * scale))x24" bash -c '
    set -e
    work=$0 out=$1 scale=$2 shot=$3
    QT_SCALE_FACTOR=$scale faketime "2018-08-01 09:00:00" "$work/理科室" &
    pid=$!
    trap "kill $pid 2>/dev/null || true" EXIT
    find_window() {
        for _ in $(seq 50); do
            id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1)
            [ -n "$id" ] && { echo "$id"; return; }
            sleep 0.2
        done
        echo "no window $1" >&2; exit 1
    }
    board=$(find_window "Ver.20180729")
    xdotool windowfocus --sync "$board"
    sleep 1
    # From slot 1: Down to slot 2, Enter opens the dialog. OK has the focus;
    # grades, classes and subjects are two, three and four Tabs on. In a
    # list the first Down selects the first row, each further one the next:
    # row 0 １年, row 2 ２組, row 7 数学. CHOOSE replaces these keys.
    choose=${CHOOSE:-"Tab Tab Down Tab Down Down Down Tab Down Down Down Down Down Down Down Down"}
    case $shot in
    board)
        import -window "$board" "$out" ;;
    dialog)
        xdotool key --delay 60 Down Return
        dialog=$(find_window "^F授業選択$")
        xdotool windowfocus --sync "$dialog"
        xdotool key --delay 60 $choose
        sleep 0.5
        import -window root -crop "$((1311 * scale))x$((887 * scale))+0+0" "$out" ;;
    booked)
        xdotool key --delay 60 Down Return
        dialog=$(find_window "^F授業選択$")
        xdotool windowfocus --sync "$dialog"
        xdotool key --delay 60 $choose Tab Return
        sleep 1
        # Without a window manager nobody gives the board the focus back.
        xdotool windowfocus --sync "$board"
        sleep 0.5
        import -window "$board" "$out" ;;
    preview)
        xdotool key ctrl+p
        preview=$(find_window "^印刷プレビュー")
        sleep 1.5
        import -window "$preview" "$out" ;;
    *) echo "SHOT is board, dialog, booked or preview" >&2; exit 2 ;;
    esac
' "$work" "$out" "$scale" "${SHOT:-board}"
echo "wrote $out"
