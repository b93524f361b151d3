#!/usr/bin/env bash
# End-to-end test of the built program on a virtual X screen, driven with
# real X input. The program is copied under a room's name next to a prepared
# booking file and started on Wednesday 2018-08-01 (window Monday 2018/07/30
# to Friday 2018/08/10). By keyboard alone it books a slot through the class
# dialog, clears another through the confirmation box and is closed; started
# again it must show both changes, clear the booking and undo that from the
# slot's history, and open the print preview; the file must hold exactly the
# bytes expected; started a third time from a working folder that is then removed,
# its 今週 must still show that room. Names that are no room, a room whose
# booking file root would make, and a start without a screen open no board.
#   e2e.sh ROOMBOARD X11CLOSE
# Needs xvfb, xauth, xdotool and faketime.
set -euo pipefail

roomboard=$(realpath "$1")
x11close=$(realpath "$2")

# An X server of our own, on a free display, gone when the test ends. Every
# xdotool call is a client of its own; without -noreset the server resets
# whenever its last client leaves and refuses connections meanwhile.
if [[ -z ${ROOMBOARD_E2E_INSIDE:-} ]]; then
    export ROOMBOARD_E2E_INSIDE=1
    exec xvfb-run -a -s "-screen 0 1400x1000x24 -nolisten tcp -noreset" \
        "$(realpath "$0")" "$roomboard" "$x11close"
fi

# shellcheck source=scratch.sh
source "$(dirname "$(realpath "$0")")/scratch.sh"
# shellcheck source=driver.sh
source "$(dirname "$(realpath "$0")")/driver.sh"

mkdir -m 700 "$work/xdg"
cp "$roomboard" "$room"

write_fixtures "$work"
cp "$work/prepared" "$dat"

started=$(date +%s%N)

# --- Without a screen: a word in Japanese and status 1, not Qt's abort.
status=0
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$room" 2>"$work/noscreen.log" || status=$?
[[ $status -eq 1 ]] && grep -q 画面 "$work/noscreen.log" \
    || fail "started without a screen: status $status, $(cat "$work/noscreen.log")"

# --- First run: book and clear.
start_board
# A room's launcher finds its window by StartupWMClass, which names the room.
# xprop shows the name's UTF-8 bytes in octal.
room_octal=$(printf '%s' "$(basename "$room")" | od -An -vto1 | tr -d ' \n' | sed 's/\([0-7]\{3\}\)/\\\1/g')
wm_class=$(xprop -id "$board" WM_CLASS)
[[ $wm_class == "WM_CLASS(STRING) = \"$room_octal\", \"$room_octal\"" ]] \
    || fail "the board's WM_CLASS is not the room's name: $wm_class"
# The focus starts on slot 1 (Monday, lesson 1); one Tab down is lesson 2.
press_slot 1 "$Dialog" "$Confirm"
# Tab from the subjects wraps round to OK.
pick_3c_science
keys Tab Return
wait_until 10 "closing of the class dialog" window_gone "$Dialog"
wait_until 10 "booking record in the file" file_is "$work/booked"

# Slot 8 (Tuesday, lesson 1) is six Tabs below slot 2, where the focus went back.
press_slot 6 "$Confirm" "$Dialog"
keys Return # OK is the default button
wait_until 10 "closing of the confirmation" window_gone "$Confirm"
wait_until 10 "clearing record in the file" file_is "$work/cleared"
close_board

# --- Second run: the file replayed shows both changes; looking writes nothing.
start_board
# Slot 2 is booked now, so it offers clearing; Esc declines.
press_slot 1 "$Confirm" "$Dialog"
keys Escape
wait_until 10 "closing of the confirmation" window_gone "$Confirm"
# Slot 8 is free now, so it opens the class dialog; Cancel, one Tab after OK.
press_slot 6 "$Dialog" "$Confirm"
keys Tab Return
wait_until 10 "closing of the class dialog" window_gone "$Dialog"
file_is "$work/cleared" || fail "the booking file differs from the expected bytes"
# Slot 2, left of and below slot 8, cleared after all; the context-menu key
# opens its history, the cleared booking selected; Alt+R books it again.
focus "$board"
keys Left Down Return
wait_until 10 "confirmation" window_shown "$Confirm"
focus "$(visible_window "$Confirm")"
keys Return
wait_until 10 "closing of the confirmation" window_gone "$Confirm"
focus "$board"
keys Menu
wait_until 10 "slot history" window_shown "$History"
focus "$(visible_window "$History")"
keys alt+r
wait_until 10 "closing of the slot history" window_gone "$History"
wait_until 10 "the cleared booking in the file again" file_is "$work/undone"
# Ctrl+P opens the print preview; Esc closes it.
focus "$board"
keys ctrl+p
wait_until 20 "print preview" window_shown "$Preview"
focus "$(visible_window "$Preview")"
keys Escape
wait_until 10 "closing of the print preview" window_gone "$Preview"
close_board

file_is "$work/undone" || fail "the booking file differs from the expected bytes"

# --- Third run, by a relative path from a working folder removed at once:
# 今週 (Shift+Tab three times from slot 1, past the print button and A)
# shows the same room; slot 2, four Tabs on, is still booked.
mkdir "$work/cwd"
cd "$work/cwd"
start_board ../理科室
cd "$work"
rmdir "$work/cwd"
keys shift+Tab shift+Tab shift+Tab Return
press_slot 4 "$Confirm" "$Dialog"
keys Escape
wait_until 10 "closing of the confirmation" window_gone "$Confirm"
close_board
file_is "$work/undone" || fail "the booking file changed after the working folder was removed"

# --- No board, only a message and status 1, and no booking file made: the
# program under its own name or a booking file's name, and, started by root,
# a room whose booking file root would make, closed to the teachers.
refused=(roomboard 音楽室.dat)
if [[ $EUID -eq 0 ]]; then refused+=(家庭科室); fi
for name in "${refused[@]}"; do
    cp "$roomboard" "$work/$name"
    start_refused "$work/$name" "$work/refused.log"
    end_refused
    grep -q "install -o root -g teachers -m 660 /dev/null " "$work/refused.log" \
        || fail "no install line on standard error for $name: $(cat "$work/refused.log")"
    [[ $name == 家庭科室 ]] || grep -q "ln -s $work/$name /srv/booking/理科室" "$work/refused.log" \
        || fail "no example on standard error for $name: $(cat "$work/refused.log")"
    [[ ! -e $work/$name.dat ]] || fail "the program started as $name made $name.dat"
done
echo "e2e ok in $(( ($(date +%s%N) - started) / 1000000 )) ms"
