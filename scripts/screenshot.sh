#!/usr/bin/env bash
# Takes the README's screenshot of the board: a copy of the program named
# after a room, a few bookings, a fixed date, a virtual screen.
#   scripts/screenshot.sh OUTPUT.png [build-dir]
# SCALE=2 takes it at Qt's scale factor 2, as on a high-resolution screen.
# Needs xvfb, faketime, xdotool and imagemagick.
set -euo pipefail
out=$(realpath -m "$1")
build=$(realpath "${2:-build}")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cp "$build/roomboard" "$work/理科室"
# Bookings for the week of Monday 2018-07-30, in CP932.
printf '"07/30-3","%s"\r\n"07/31-1","%s"\r\n"08/01-0","%s"\r\n"08/06-2","%s"\r\n"08/08-5","%s"\r\n' \
    "$(printf '１-２　数学' | iconv -f UTF-8 -t CP932)" \
    "$(printf '３Ｃ　　国語' | iconv -f UTF-8 -t CP932)" \
    "$(printf '１Ａ　　理科' | iconv -f UTF-8 -t CP932)" \
    "$(printf 'その他　委員会' | iconv -f UTF-8 -t CP932)" \
    "$(printf '２-４　技術' | iconv -f UTF-8 -t CP932)" > "$work/理科室.dat"

scale=${SCALE:-1}
xvfb-run -a -s "-screen 0 $((1400 * scale))x$((950 * scale))x24" bash -c '
    QT_SCALE_FACTOR=$2 faketime "2018-08-01 09:00:00" "$0/理科室" &
    pid=$!
    for _ in $(seq 50); do
        id=$(xdotool search --name "Ver.20180729" 2>/dev/null | head -n1) && [ -n "$id" ] && break
        sleep 0.2
    done
    sleep 1
    import -window "$id" "$1"
    kill $pid
' "$work" "$out" "$scale"
echo "wrote $out"
