#!/usr/bin/env bash
# End-to-end test of the built program meeting booking files that are not
# what they were or should be; set up as e2e.sh, see there.
#   a) another file renamed over the booking file while a booking waits for
#      the lock: the record lands in the file now at the path;
#   b) a file that cannot be read as bookings in its place: the board keeps
#      showing what it showed, and a booking says what is wrong;
#   c) an 8 GiB booking file is refused at once, unread;
#   d) a booking file that is a program is refused and never written.
#   files.sh ROOMBOARD X11CLOSE LOCKHOLDER
# Needs xvfb, xauth, xdotool, faketime and xwd.
set -euo pipefail

roomboard=$(realpath "$1")
x11close=$(realpath "$2")
lockholder=$(realpath "$3")

if [[ -z ${ROOMBOARD_E2E_INSIDE:-} ]]; then
    export ROOMBOARD_E2E_INSIDE=1
    exec xvfb-run -a -s "-screen 0 1400x1000x24 -nolisten tcp -noreset" \
        "$(realpath "$0")" "$roomboard" "$x11close" "$lockholder"
fi

# shellcheck source=scratch.sh
source "$(dirname "$(realpath "$0")")/scratch.sh"
# shellcheck source=driver.sh
source "$(dirname "$(realpath "$0")")/driver.sh"

# A process of the board has FILE open. While the class dialog is up the
# board does not look at its file: after OK, it opens it to write.
board_has_open() { pgrep -g "$board_pid" | xargs -I{} find /proc/{}/fd -lname "$1" 2>/dev/null | grep -q .; }
picture_is() { xwd -silent -id "$board" | cmp -s - "$1"; }
# Two dumps of the board alike: what the keys last changed is painted.
painted() { xwd -silent -id "$board" -out "$1.new"; cmp -s "$1.new" "$1" || ! mv "$1.new" "$1"; }

mkdir -m 700 "$work/xdg"
cp "$roomboard" "$room"
write_fixtures "$work"
cp "$work/prepared" "$dat"
# Another booking file: one lettered record more (Thursday's third slot,
# １Ａ　　数学), then the booking of write_fixtures, its last line.
cp "$work/prepared" "$work/other"
printf '"08/02-3","\x82\x50\x82\x60\x81\x40\x81\x40\x90\x94\x8a\x77"\r\n' >>"$work/other"
cp "$work/other" "$work/other-booked"
tail -n 1 "$work/booked" >>"$work/other-booked"
started=$(date +%s%N)

# --- a) Monday's second slot booked while another holds the lock, and
# the other file renamed over the booking file meanwhile. 2 s of lock: time
# for the swap on a loaded machine, within the board's 3 s wait.
start_board
press_slot 1 "$Dialog" "$Confirm"
pick_3c_science
setsid "$lockholder" "$dat" 2000 >"$work/lock.out" &
lock_pid=$!
process_groups+=("$lock_pid")
wait_until 5 "lock held by the lock holder" grep -qx locked "$work/lock.out"
keys Tab Return
wait_until 5 "booking file opened to write" board_has_open "$dat"
mv "$work/other" "$dat"
process_gone "$lock_pid" && fail "the lock was let go before the file was swapped"
wait_until 10 "booking in the file at the path" file_is "$work/other-booked"
window_gone "$Confirm" || fail "the booking ended in a message"

# --- b) A program in the booking file's place: the polls, a click, and a
# booking whose file is swapped while the class dialog is up must leave the
# board as it was. The focus goes to a free slot, Monday's fourth, first.
program_in_place() { cp "$roomboard" "$work/program" && mv "$work/program" "$dat"; }
answer_message() {
    focus "$(visible_window "$Confirm")"
    keys Return
    wait_until 10 "closing of the message" window_gone "$Confirm"
    focus "$board" # which no window manager gives back
    wait_until 5 "board as it was" picture_is "$work/before.xwd"
}
focus "$board"
keys Tab Tab
wait_until 5 "board painted" painted "$work/before.xwd"
program_in_place
sleep 2.5 # the board looks at its file every second
picture_is "$work/before.xwd" || fail "the board changed when its file could not be read"
press_slot 0 "$Confirm" "$Dialog"
answer_message
cp "$work/other-booked" "$dat"
press_slot 0 "$Dialog" "$Confirm"
pick_3c_science
program_in_place
keys Tab Return
wait_until 10 "message of the failed booking" window_shown "$Confirm"
answer_message
file_is "$roomboard" || fail "the program in place of the booking file was written"
cp "$work/other-booked" "$dat"
close_board

# --- c) A booking file of 8 GiB, all of it a hole: refused before a read.
cp "$roomboard" "$work/物理室"
truncate -s 8G "$work/物理室.dat"
start_refused "$work/物理室" "$work/physics.log"
read_bytes=$(awk '$1 == "rchar:" { print $2 }' "/proc/$refused_pid/io")
(( read_bytes < 32 << 20 )) || fail "the program refusing 8 GiB read $read_bytes bytes"
end_refused
(( $(stat -c %s "$work/物理室.dat") == 8 << 30 )) || fail "物理室.dat changed size"

# --- d) A room 化学室 whose booking file is a program.
cp "$roomboard" "$work/化学室"
cp "$roomboard" "$work/化学室.dat"
start_refused "$work/化学室" "$work/chemistry.log"
end_refused
cmp -s "$work/化学室.dat" "$roomboard" || fail "化学室.dat, a program, was written"
echo "e2e files ok in $(( ($(date +%s%N) - started) / 1000000 )) ms"
