# The Linux end-to-end tests' scratch folder, holding the room 理科室, its
# booking file and the program's output, emptied and removed with every
# process group the test started when it ends; and their failure report.
# Sourced before driver.sh; the Wine test has its own.
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
    [[ ! -s $log ]] || { echo "--- program output:" >&2; cat "$log" >&2; }
    [[ ! -f $dat ]] || { echo "--- booking file:" >&2; od -c "$dat" | head -n 40 >&2; }
    exit 1
}
