#!/usr/bin/env bash
# End-to-end test of the Windows program under Wine on a virtual X screen,
# driven with real X input, as a school would install it: the shipped folder
# with roomboard.exe copied as 理科室.exe beside a prepared CP932 booking file,
# started on Wednesday 2018-08-01 (window Monday 2018/07/30 to Friday
# 2018/08/10).
#   1. By keyboard alone it books a slot through the class dialog, clears
#      another through the confirmation and is closed; started again it
#      shows both, clears the booking and undoes that from the slot's
#      history, opens the print preview, and the file holds exactly the
#      bytes expected.
#   2. Two boards on the one file go for the same free slot at once: exactly
#      one record lands, and the other board says the slot was taken.
#   3. A program copied as a room's booking file, and a program named as a
#      booking file, are refused with a message, and nothing is written.
#   e2e.sh FOLDER X11CLOSE
# Runs under the WINEPREFIX it is given; needs wine, xvfb, xauth, xdotool
# and faketime.
set -euo pipefail

folder=$(realpath "$1")
x11close=$(realpath "$2")

# An X server of our own, as in the Linux end-to-end test (see there).
if [[ -z ${ROOMBOARD_E2E_INSIDE:-} ]]; then
    export ROOMBOARD_E2E_INSIDE=1
    exec xvfb-run -a -s "-screen 0 1400x1000x24 -nolisten tcp -noreset" \
        "$(realpath "$0")" "$folder" "$x11close"
fi

libfaketime=$(ls /usr/lib/*/faketime/libfaketime.so.1 | head -n 1)
work=$(mktemp -d)
dat=$work/理科室.dat
log=$work/wine.log
process_groups=()
step=''

cleanup() {
    local group
    for group in "${process_groups[@]}"; do
        kill -KILL -- "-$group" 2>/dev/null || true
    done
    # Wine's processes of this run, so the next run starts from nothing.
    wineserver -k 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*${step:+ (after: $step)}" >&2
    # What the screen showed, when asked for: E2E_FAILSHOT=FILE.png
    if [[ -n ${E2E_FAILSHOT:-} ]]; then
        import -window root "$E2E_FAILSHOT" 2>/dev/null || true
        xdotool search --onlyvisible --name . 2>/dev/null | while read -r id; do
            echo "window $id: $(xdotool getwindowname "$id" 2>/dev/null)"
        done >&2
    fi
    if [[ -s $log ]]; then
        echo "--- Wine's output:" >&2
        tail -n 40 "$log" >&2
    fi
    if [[ -f $dat ]]; then
        echo "--- booking file:" >&2
        od -c "$dat" >&2
    fi
    exit 1
}

# shellcheck source=../e2e/driver.sh
source "$(dirname "$(realpath "$0")")/../e2e/driver.sh"

# The visible window matching $1 that is none of the ids that follow.
new_window() {
    local pattern=$1 id
    shift
    for id in $(visible_windows "$pattern"); do
        [[ " $* " == *" $id "* ]] || { echo "$id"; return; }
    done
}

# start_board VARIABLE: starts one more board and stores its window in
# VARIABLE, its process in VARIABLE_pid.
start_board() {
    local before
    before=$(visible_windows "$Board" | tr '\n' ' ')
    # libfaketime without its faketime wrapper, which waits until every
    # process started below it has ended, Wine's own helpers included.
    (cd "$work" && LD_PRELOAD=$libfaketime FAKETIME='@2018-08-01 09:00:00' \
        FAKETIME_DONT_FAKE_MONOTONIC=1 exec setsid wine ./理科室.exe >>"$log" 2>&1) &
    local pid=$!
    process_groups+=("$pid")
    printf -v "$1_pid" '%s' "$pid"
    local shown=''
    local deadline=$(( $(date +%s) + 60 ))
    while [[ -z $shown ]]; do
        (( $(date +%s) < deadline )) || fail "no board window within 60s"
        process_gone "$pid" && fail "the board ended before showing its window"
        # shellcheck disable=SC2086
        shown=$(new_window "$Board" $before)
        sleep 0.1
    done
    printf -v "$1" '%s' "$shown"
    focus "$shown"
}

close_board() {
    local window=$1 pid=$2
    focus "$window"
    "$x11close" "$window" || fail "could not ask the board window to close"
    wait_until 20 "end of the program after its window was closed" process_gone "$pid"
    local status=0
    wait "$pid" || status=$?
    [[ $status -eq 0 ]] || fail "the program ended with status $status"
}

# press_slot WINDOW TABS EXPECT OTHER: presses the slot TABS Tab presses after
# the focused one and prints the window that answers (class dialog or
# confirmation), which has the focus then.
press_slot() {
    local window=$1 tabs=$2 expect=$3 other=$4
    local presses=() i before
    step="$tabs Tab, Return in window $window, expecting $expect"
    for (( i = 0; i < tabs; i++ )); do presses+=(Tab); done
    before=$(visible_windows "$expect" | tr '\n' ' ')
    focus "$window"
    keys "${presses[@]}" Return
    local answer='' deadline=$(( $(date +%s) + 20 ))
    while [[ -z $answer ]]; do
        (( $(date +%s) < deadline )) || fail "no window matching $expect within 20s"
        # shellcheck disable=SC2086
        answer=$(new_window "$expect" $before)
        sleep 0.05
    done
    window_count "$other" 0 || fail "a slot press opened $other instead of $expect"
    focus "$answer"
    echo "$answer"
}

# One Wine server for the whole test, kept running: no board then meets a
# server still winding down after the last one, which can cost it its window.
wineserver -k 2>/dev/null || true
wineserver -w
wineserver -p </dev/null >/dev/null 2>&1

cp -r "$folder"/. "$work/"
cp "$work/roomboard.exe" "$work/理科室.exe"

write_fixtures "$work"
cp "$work/prepared" "$dat"
# The race for Tuesday's first slot: one of the two boards' records,
#   ３-３　理科, or ３Ａ　　国語 (rows 2, 1 and 5). The first board's dialog
#   opens numbered: OK to its last clearing left the mode so.
cp "$work/undone" "$work/raced-a"
printf '"07/31-1","\x82\x52-\x82\x52\x81\x40\x97\x9d\x89\xc8"\r\n' >>"$work/raced-a"
cp "$work/undone" "$work/raced-b"
printf '"07/31-1","\x82\x52\x82\x60\x81\x40\x81\x40\x8d\x91\x8c\xea"\r\n' >>"$work/raced-b"

started=$(date +%s%N)

# --- First run: book and clear.
start_board board
press_slot "$board" 1 "$Dialog" "$Confirm" >/dev/null
pick_3c_science
keys Tab Return
wait_until 10 "closing of the class dialog" window_gone "$Dialog"
wait_until 10 "booking record in the file" file_is "$work/booked"

press_slot "$board" 6 "$Confirm" "$Dialog" >/dev/null
keys Return
wait_until 10 "closing of the confirmation" window_gone "$Confirm"
wait_until 10 "clearing record in the file" file_is "$work/cleared"
close_board "$board" "$board_pid"

# --- Second run: the file replayed shows both changes; looking writes nothing.
start_board board
press_slot "$board" 1 "$Confirm" "$Dialog" >/dev/null
keys Escape
wait_until 10 "closing of the confirmation" window_gone "$Confirm"
press_slot "$board" 6 "$Dialog" "$Confirm" >/dev/null
keys Tab Return
wait_until 10 "closing of the class dialog" window_gone "$Dialog"
file_is "$work/cleared" || fail "the booking file differs from the expected bytes"
# Slot 2, left of and below slot 8, cleared after all; the context-menu key
# opens its history, the cleared booking selected, and Alt+R books it again.
step="clearing slot 2 and undoing that from its history"
focus "$board"
keys Left Down Return
wait_until 20 "confirmation" window_shown "$Confirm"
focus "$(visible_window "$Confirm")"
keys Return
wait_until 10 "closing of the confirmation" window_gone "$Confirm"
focus "$board"
keys Menu
wait_until 20 "slot history" window_shown "$History"
focus "$(visible_window "$History")"
keys alt+r
wait_until 10 "closing of the slot history" window_gone "$History"
wait_until 10 "the cleared booking in the file again" file_is "$work/undone"
# Ctrl+P opens the print preview, its pages drawn; Esc closes it. The
# focus then goes back from slot 2 to slot 8.
step="print preview"
focus "$board"
keys ctrl+p
wait_until 30 "print preview" window_shown "$Preview"
focus "$(visible_window "$Preview")"
keys Escape
wait_until 10 "closing of the print preview" window_gone "$Preview"
focus "$board"
keys Up Right

# --- Two boards, one slot: both open the class dialog on the free slot 8
# (Tuesday, lesson 1), then OK is clicked in both, one right after the other.
# The first board opens its dialog before the second board starts: Wine
# activates a new window by itself, but the X focus alone does not always
# take the keyboard back from another program's window. The first board's
# focus is back on slot 8, the new one's on slot 1.
dialog_a=$(press_slot "$board" 0 "$Dialog" "$Confirm")
pick_3c_science
start_board other
dialog_b=$(press_slot "$other" 7 "$Dialog" "$Confirm")
keys Tab Tab Home Down Down Tab Home Down Tab Home Down Down Down Down Down
# OK_BT's middle, in the dialog's client area.
timeout 20 xdotool windowraise "$dialog_a" mousemove --window "$dialog_a" 84 212 click 1 \
    windowraise "$dialog_b" mousemove --window "$dialog_b" 84 212 click 1 ||
    fail "could not click OK in both dialogs"
wait_until 10 "closing of both class dialogs" window_gone "$Dialog"
# The board that lost says so.
wait_until 10 "notice of the lost race" window_count "$Confirm" 1
focus "$(visible_window "$Confirm")"
keys Return
wait_until 10 "closing of the notice" window_gone "$Confirm"
if file_is "$work/raced-a"; then
    winner="the first"
elif file_is "$work/raced-b"; then
    winner="the second"
else
    fail "not exactly one of the two records landed"
fi
close_board "$board" "$board_pid"
close_board "$other" "$other_pid"

# --- No board, a message and status 1, and nothing written: a room beside a
# program copied as its booking file, and a program named as a booking file.
cp "$work/roomboard.exe" "$work/化学室.exe"
cp "$work/roomboard.exe" "$work/化学室.dat"
cp "$work/roomboard.exe" "$work/音楽室.dat.exe"
for name in 化学室 音楽室.dat; do
    step="starting $name.exe"
    (cd "$work" && exec setsid wine "./$name.exe" >>"$log" 2>&1) &
    refused_pid=$!
    process_groups+=("$refused_pid")
    wait_until 60 "message of $name.exe" window_shown "$Confirm"
    window_gone "$Board" || fail "$name.exe opened a board"
    focus "$(visible_window "$Confirm")"
    keys Return
    wait_until 20 "end of $name.exe" process_gone "$refused_pid"
    status=0
    wait "$refused_pid" || status=$?
    [[ $status -eq 1 ]] || fail "$name.exe ended with status $status"
done
cmp -s "$work/roomboard.exe" "$work/化学室.dat" || fail "the program copied as 化学室.dat was written to"
[[ ! -e $work/音楽室.dat.dat ]] || fail "音楽室.dat.exe made a booking file"

echo "wine e2e ok in $(( ($(date +%s%N) - started) / 1000000 )) ms; $winner board's record landed"
