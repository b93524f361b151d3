#!/usr/bin/env bash
# `make windows-test`: the Windows build's tests under Wine, after
# `make windows` has built them.
#   1. ctest in build-windows (cmake/WindowsTests.cmake): the Wine prefix
#      build-windows/wine, made on first use; the icon and version block of
#      roomboard.exe, read back; every QtTest on Qt's offscreen platform and
#      the fuzz inputs through the reader, each run by Wine as ctest's
#      emulator (build-windows/wine-run.sh);
#   2. the shipped folder end to end on a virtual X screen
#      (tests/windows/e2e.sh), E2E_RUNS times in a row (default 1).
# Environment: WINDOWS_BUILD (default build-windows), E2E_RUNS, JOBS (default 2).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build=$root/${WINDOWS_BUILD:-build-windows}
runs=${E2E_RUNS:-1}

scripts/install-deps.sh windows
[[ -f $build/CTestTestfile.cmake && -d $build/roomboard-win64 ]] ||
    { echo "windows-test: nothing built yet; run make windows first" >&2; exit 1; }

failed=()
started=$(date +%s)
ctest --test-dir "$build" --output-on-failure -j "${JOBS:-2}" || failed+=(ctest)
echo "tests under Wine: $(( $(date +%s) - started )) s"

# As the QtTests; Wine takes its time zone from TZ. A Japanese LANG would
# need the locale generated on this machine, or Wine cannot spell the
# Japanese file names; the program uses code page 932 whatever the locale.
export WINEPREFIX=$build/wine WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export LANG=C.UTF-8 LC_ALL=C.UTF-8 TZ=Asia/Tokyo
tests/windows/wineprefix.sh "$WINEPREFIX"

# --- 2. The shipped folder, end to end.
mkdir -p "$build/host"
if [[ ! -x $build/host/x11close || tests/e2e/x11close.cpp -nt $build/host/x11close ]]; then
    g++ -O2 -o "$build/host/x11close" tests/e2e/x11close.cpp -lX11
fi
# The shipped program finds nothing on WINEPATH: all it needs is in its folder.
unset WINEPATH
passed=0
for (( run = 1; run <= runs; run++ )); do
    if tests/windows/e2e.sh "$build/roomboard-win64" "$build/host/x11close"; then
        passed=$((passed + 1))
    else
        failed+=("e2e run $run")
    fi
    wineserver -w
done
echo "end-to-end under Wine: $passed of $runs runs passed"

if [[ ${#failed[@]} -gt 0 ]]; then
    echo "windows-test: failed: ${failed[*]}" >&2
    exit 1
fi
echo "windows-test: all passed"
