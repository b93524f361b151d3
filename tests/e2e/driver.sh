# Shared by the end-to-end tests of the Linux program (e2e.sh, files.sh) and
# of the Windows program under Wine (../windows/e2e.sh): waiting for windows
# on the virtual X screen, typing into them, the booking files before and
# after; at the end, starting and ending the Linux program.
# Sourced; the test defines fail() and $dat, the booking file.

# The board's caption ends in its version; the class dialog and the message
# boxes (titled with the system title alone) are matched whole.
Board='Ver\.20180729'
Dialog='^F授業選択$'
Confirm='^特別教室予約ボード$'
History='^駒の履歴$'
Preview='^印刷プレビュー'

# wait_until SECONDS WHAT COMMAND...: polls COMMAND until it succeeds.
wait_until() {
    local limit=$1 what=$2
    shift 2
    local deadline=$(( $(date +%s%N) + limit * 1000000000 ))
    until "$@"; do
        (( $(date +%s%N) < deadline )) || fail "no $what within ${limit}s"
        sleep 0.05
    done
}

visible_windows() {
    timeout 5 xdotool search --onlyvisible --name "$1" 2>/dev/null || true
}
visible_window() { visible_windows "$1" | head -n 1; }
window_count() { [[ $(visible_windows "$1" | grep -c .) -eq $2 ]]; }
window_shown() { [[ -n $(visible_window "$1") ]]; }
window_gone() { [[ -z $(visible_window "$1") ]]; }
file_is() { cmp -s "$dat" "$1"; }
process_gone() { ! kill -0 "$1" 2>/dev/null; }

# With no window manager, giving a window the input focus is up to us.
focus() {
    timeout 5 xdotool windowfocus --sync "$1" || fail "window $1 does not take the focus"
}
keys() {
    timeout 20 xdotool key --delay 30 "$@" || fail "xdotool could not type $*"
}

# The class dialog, OK focused: grades, classes and subjects lie two, three
# and four Tabs on. In each list Home selects the first row, whether or not
# taking the focus already made it current, and each Down one row further:
# row 2 ３年, row 3 Ｃ組, row 8 理科. The focus is left on the subjects, one
# Tab before OK.
pick_3c_science() {
    keys Tab Tab Home Down Down \
         Tab Home Down Down Down \
         Tab Home Down Down Down Down Down Down Down Down
}

# write_fixtures DIR: DIR/prepared, the booking file a test starts from, and
# what the keyboard run must make of it: DIR/booked, DIR/cleared, then
# DIR/undone. CP932, CR LF. A numbered booking, then a lettered one, which
# as the last record inside the window leaves the dialog in lettered mode;
# the numbered record after it lies outside the window and must change
# nothing.
#   "07/30-3","１-２　数学"   "07/31-1","３Ｃ　　国語"   "09/03-1","２-１　英語"
write_fixtures() {
    local dir=$1
    printf '"07/30-3","\x82\x50-\x82\x51\x81\x40\x90\x94\x8a\x77"\r\n' >"$dir/prepared"
    printf '"07/31-1","\x82\x52\x82\x62\x81\x40\x81\x40\x8d\x91\x8c\xea"\r\n' >>"$dir/prepared"
    printf '"09/03-1","\x82\x51-\x82\x50\x81\x40\x89\x70\x8c\xea"\r\n' >>"$dir/prepared"
    # The booking of Monday's second slot: ３年, Ｃ組, 理科 → "３Ｃ　　理科".
    cp "$dir/prepared" "$dir/booked"
    printf '"07/30-2","\x82\x52\x82\x62\x81\x40\x81\x40\x97\x9d\x89\xc8"\r\n' >>"$dir/booked"
    # Then the clearing of Tuesday's first slot.
    cp "$dir/booked" "$dir/cleared"
    printf '"07/31-1",""\r\n' >>"$dir/cleared"
    # Then slot 2's booking cleared, and that clearing undone from the slot's
    # history: its text booked again, as any booking.
    cp "$dir/cleared" "$dir/undone"
    printf '"07/30-2",""\r\n"07/30-2","\x82\x52\x82\x62\x81\x40\x81\x40\x97\x9d\x89\xc8"\r\n' >>"$dir/undone"
}

# --- The Linux program (the Wine test defines its own start_board,
# close_board and press_slot after sourcing this file), started in the
# background from a test that defines $work, $log and process_groups.
# exec keeps the process id, which setsid makes a process group of its own
# for the test's cleanup to end (faketime runs the program as its child).
launch() {
    exec env LANG=C.UTF-8 LC_ALL=C.UTF-8 TZ=Asia/Tokyo QT_QPA_PLATFORM=xcb \
        XDG_RUNTIME_DIR="$work/xdg" setsid "$@"
}

# The board of $room, or of PROGRAM, on Wednesday 2018-08-01: its window in
# $board, focused.
#   start_board [PROGRAM]
start_board() {
    launch faketime --exclude-monotonic '2018-08-01 09:00:00' "${1:-$room}" >>"$log" 2>&1 &
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

# press_slot TABS EXPECT OTHER: opens the slot that is TABS Tab presses after
# the focused one and waits for the window that answers, the class dialog or
# a message box; it is focused then, and in $answer.
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

# start_refused PROGRAM OUTPUT: PROGRAM must show a message box and no board;
# the message is focused, the process in $refused_pid.
start_refused() {
    launch "$1" >"$2" 2>&1 &
    refused_pid=$!
    process_groups+=("$refused_pid")
    wait_until 20 "message of ${1##*/}" window_shown "$Confirm"
    window_gone "$Board" || fail "${1##*/} opened a board"
    focus "$(visible_window "$Confirm")"
}

# The message answered, the refused program must end with status 1.
end_refused() {
    keys Return
    wait_until 10 "end of the refused program" process_gone "$refused_pid"
    local status=0
    wait "$refused_pid" || status=$?
    [[ $status -eq 1 ]] || fail "the refused program ended with status $status"
}
