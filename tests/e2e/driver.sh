# Shared by the end-to-end tests of the Linux program (e2e.sh) and of the
# Windows program under Wine (../windows/e2e.sh): waiting for windows on the
# virtual X screen, typing into them, the booking files before and after.
# Sourced; the test defines fail() and $dat, the booking file.

# The board's caption ends in its version; the class dialog and the message
# boxes (titled with the system title alone) are matched whole.
Board='Ver\.20180729'
Dialog='^F授業選択$'
Confirm='^特別教室予約ボード$'

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
# what the keyboard run must make of it: DIR/booked, then DIR/cleared. CP932,
# CR LF. A numbered booking, then a lettered one, which as the last record
# inside the window leaves the dialog in lettered mode; the numbered record
# after it lies outside the window and must change nothing.
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
}
