#!/usr/bin/env bash
# End-to-end test of the built program on a virtual X screen, driven with
# real X input. The program is copied under a room's name next to a prepared
# booking file and started on Wednesday 2018-08-01 (window Monday 2018/07/30
# to Friday 2018/08/10). By keyboard alone it books a slot through the class
# dialog, clears another through the confirmation box and is closed; started
# again it must show both changes, and the file must hold exactly the bytes
# expected; started a third time from a working folder that is then removed,
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

work=$(mktemp -d)
room=$work/理科室
dat=$work/理科室.dat
log=$work/roomboard.log
process_groups=()

cleanup() {
    local group
    for group in "${process_groups[@]}"; do
        kill -KILL -- "-$group" 2>/dev/null || true
    done
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    if [[ -s $log ]]; then
        echo "--- program output:" >&2
        cat "$log" >&2
    fi
    if [[ -f $dat ]]; then
        echo "--- booking file:" >&2
        od -c "$dat" >&2
    fi
    exit 1
}

# shellcheck source=driver.sh
source "$(dirname "$(realpath "$0")")/driver.sh"

# start_board [PROGRAM]: the room's program, or PROGRAM as given.
start_board() {
    # setsid: faketime runs the program as its child; the process group
    # holds both, so cleanup can end them together.
    LANG=C.UTF-8 LC_ALL=C.UTF-8 TZ=Asia/Tokyo QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR=$work/xdg \
        setsid faketime --exclude-monotonic '2018-08-01 09:00:00' "${1:-$room}" >>"$log" 2>&1 &
    board_pid=$!
    process_groups+=("$board_pid")
    wait_until 20 "board window" window_shown "$Board"
    board=$(visible_window "$Board")
    focus "$board"
}

close_board() {
    "$x11close" "$board" || fail "could not ask the board window to close"
    wait_until 10 "end of the program after its window was closed" process_gone "$board_pid"
    local status=0
    wait "$board_pid" || status=$?
    [[ $status -eq 0 ]] || fail "the program ended with status $status"
}

# Opens the slot that is `tabs` Tab presses after the focused one and
# waits for the window that answers: the class dialog or the confirmation.
press_slot() {
    local tabs=$1 expect=$2 other=$3
    local presses=() i
    for (( i = 0; i < tabs; i++ )); do presses+=(Tab); done
    focus "$board"
    keys "${presses[@]}" Return
    wait_until 10 "window matching $expect" window_shown "$expect"
    window_gone "$other" || fail "a slot press opened $other instead of $expect"
    answer=$(visible_window "$expect")
    focus "$answer"
}

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
close_board

file_is "$work/cleared" || fail "the booking file differs from the expected bytes"

# --- Third run, by a relative path from a working folder removed at once:
# 今週 (Shift+Tab twice from slot 1) shows the same room; slot 2, three Tabs
# on, is still booked.
mkdir "$work/cwd"
cd "$work/cwd"
start_board ../理科室
cd "$work"
rmdir "$work/cwd"
keys shift+Tab shift+Tab Return
press_slot 3 "$Confirm" "$Dialog"
keys Escape
wait_until 10 "closing of the confirmation" window_gone "$Confirm"
close_board
file_is "$work/cleared" || fail "the booking file changed after the working folder was removed"

# --- No board, only a message and status 1, and no booking file made: the
# program under its own name or a booking file's name, and, started by root,
# a room whose booking file root would make, closed to the teachers.
refused=(roomboard 音楽室.dat)
if [[ $EUID -eq 0 ]]; then refused+=(家庭科室); fi
for name in "${refused[@]}"; do
    cp "$roomboard" "$work/$name"
    LANG=C.UTF-8 LC_ALL=C.UTF-8 QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR=$work/xdg \
        setsid "$work/$name" >"$work/refused.log" 2>&1 &
    refused_pid=$!
    process_groups+=("$refused_pid")
    wait_until 20 "message of the program started as $name" window_shown "$Confirm"
    window_gone "$Board" || fail "the program started as $name opened a board"
    focus "$(visible_window "$Confirm")"
    keys Return
    wait_until 10 "end of the program started as $name" process_gone "$refused_pid"
    status=0
    wait "$refused_pid" || status=$?
    [[ $status -eq 1 ]] || fail "the program started as $name ended with status $status"
    grep -q "install -o root -g teachers -m 660 /dev/null " "$work/refused.log" \
        || fail "no install line on standard error for $name: $(cat "$work/refused.log")"
    [[ $name == 家庭科室 ]] || grep -q "ln -s $work/$name /srv/booking/理科室" "$work/refused.log" \
        || fail "no example on standard error for $name: $(cat "$work/refused.log")"
    [[ ! -e $work/$name.dat ]] || fail "the program started as $name made $name.dat"
done
echo "e2e ok in $(( ($(date +%s%N) - started) / 1000000 )) ms"
