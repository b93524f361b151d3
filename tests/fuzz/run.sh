#!/usr/bin/env bash
# A bounded libFuzzer run: tests/fuzz/run.sh FUZZER WORKDIR SECONDS
#
# The committed seeds are copied into WORKDIR/corpus, which libFuzzer grows,
# so the committed corpus stays small. Inputs that break the target are kept
# in tests/fuzz/regressions/ (where `make test` replays them), each once.
set -uo pipefail

fuzzer=$1 work=$2 seconds=${3:-60}
here=$(cd "$(dirname "$0")" && pwd)
seeds=$here/corpus regressions=$here/regressions
# A line a little over the reader's cap, so overlong lines get explored.
max_len=4608

mkdir -p "$work/corpus" "$work/artifacts"
rm -f "$work/artifacts"/*
cp -f "$seeds"/* "$work/corpus"/
before=$(find "$work/corpus" -type f | wc -l)

# -len_control=0: long lines from the first minute on, not after a slow ramp.
"$fuzzer" -max_total_time="$seconds" -max_len="$max_len" -len_control=0 -timeout=10 -print_final_stats=1 \
    -artifact_prefix="$work/artifacts/" "$work/corpus" "$regressions" 2>&1 | tee "$work/fuzz.log"
status=${PIPESTATUS[0]}

kept=()
for found in "$work/artifacts"/*; do
    [[ -f $found ]] || continue
    known=
    for old in "$seeds"/* "$regressions"/*; do
        cmp -s "$found" "$old" && { known=$old; break; }
    done
    if [[ -n $known ]]; then
        echo "fuzz: the failing input is already committed as tests/fuzz/${known#"$here"/}"
    else
        cp "$found" "$regressions/"
        kept+=("tests/fuzz/regressions/$(basename "$found")")
    fi
done

runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/fuzz.log" | tail -1)
rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$work/fuzz.log" | tail -1)
after=$(find "$work/corpus" -type f | wc -l)
# libFuzzer's own count leaves out files it has since replaced by smaller ones.
live=$(grep -E '^#[0-9]+' "$work/fuzz.log" | tail -1 | sed -n 's/.* corp: \([^ ]*\).*/\1/p')
live=${live:-?/?}
echo "fuzz: ${runs:-?} executions (${rate:-?}/s); corpus $before -> $after files in $work/corpus," \
    "of which libFuzzer keeps ${live%%/*} (${live#*/})"
if [[ $status -ne 0 ]]; then
    echo "fuzz: FAILED (libFuzzer exit $status); see $work/fuzz.log"
    for k in "${kept[@]}"; do echo "fuzz: kept $k: commit it with the fix"; done
    exit 1
fi
echo "fuzz: no crash, no invariant violated"
