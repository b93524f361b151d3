#!/usr/bin/env bash
# `make windows-test`: the Windows build's tests under Wine, after
# `make windows` has built them.
#   1. the icon and version block of roomboard.exe, read back;
#   2. every test executable of build-windows/tests, on Qt's offscreen
#      platform;
#   3. the shipped folder end to end on a virtual X screen
#      (tests/windows/e2e.sh), E2E_RUNS times in a row (default 1).
# Wine runs in a prefix of its own, build-windows/wine, made on first use.
# Environment: WINDOWS_BUILD (default build-windows), E2E_RUNS.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build=$root/${WINDOWS_BUILD:-build-windows}
runs=${E2E_RUNS:-1}
mingw=x86_64-w64-mingw32

scripts/install-deps.sh windows
[[ -f $build/qt-prefix && -d $build/roomboard-win64 ]] ||
    { echo "windows-test: nothing built yet; run make windows first" >&2; exit 1; }
qt=$(cat "$build/qt-prefix")

export WINEPREFIX=$build/wine WINEARCH=win64
# Quiet, and no offer to install Mono or Gecko, which nothing here uses.
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# As the Linux tests; Wine takes its time zone from TZ. A Japanese LANG
# would need the locale generated on this machine, or Wine cannot spell the
# Japanese file names; the program uses code page 932 whatever the locale.
export LANG=C.UTF-8 LC_ALL=C.UTF-8 TZ=Asia/Tokyo

winpath() { echo "Z:${1//\//\\}"; }

# The prefix is made once per Wine version. Settings of its own:
# - Wine activates a window when the window manager offers it the focus;
#   the virtual X screen runs none, so Wine is told to follow the X focus
#   itself, or xdotool could never switch between two boards.
# - Japanese glyphs for the font of Wine's own title bars, as a Japanese
#   Windows has (the board's caption in screenshots).
# - No automatic update of the prefix: the end-to-end test runs Wine under
#   faketime, whose dates on wine.inf would otherwise set off an update at
#   every change between faked and real time.
ready="$(wine --version) UseTakeFocus=N Tahoma+IPAGothic"
if [[ ! -f $WINEPREFIX/.roomboard-ready || $(cat "$WINEPREFIX/.roomboard-ready") != "$ready" ]]; then
    echo "windows-test: making the Wine prefix $WINEPREFIX"
    rm -rf "$WINEPREFIX"
    wine wineboot --init >/dev/null 2>&1 || true
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v UseTakeFocus /d N /f >/dev/null 2>&1
    wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' \
        /v Tahoma /t REG_MULTI_SZ /d 'ipag.ttf,IPAGothic' /f >/dev/null 2>&1
    wineserver -w
    [[ -f $WINEPREFIX/system.reg ]] || { echo "windows-test: wineboot made no prefix" >&2; exit 1; }
    grep -q '"UseTakeFocus"="N"' "$WINEPREFIX/user.reg" ||
        { echo "windows-test: the Wine prefix did not take UseTakeFocus" >&2; exit 1; }
    echo disable >"$WINEPREFIX/.update-timestamp"
    echo "$ready" >"$WINEPREFIX/.roomboard-ready"
fi

# --- 1. What Explorer shows of the program: its icon and version block.
failed=()
tests/windows/resources.sh "$build/roomboard-win64/roomboard.exe" || failed+=(resources)

# --- 2. The test executables. They find Qt's and the compiler's DLLs on
# WINEPATH. Wine passes on no variable named QT_*, so the platform goes on
# the command line; Qt's offscreen platform on Windows reads fonts only from
# <Qt prefix>/lib/fonts.
gcc_dir=$(dirname "$("$mingw-g++-posix" -print-libgcc-file-name)")
export WINEPATH="$(winpath "$qt/bin");$(winpath "$gcc_dir");$(winpath "/usr/$mingw/lib")"
mkdir -p "$qt/lib/fonts"
for font in /usr/share/fonts/opentype/ipafont-gothic/ipag.ttf \
            /usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf \
            /usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc \
            /usr/share/fonts/truetype/dejavu/DejaVuSans.ttf \
            /usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf; do
    ln -sfn "$font" "$qt/lib/fonts/"
done

# Qt's Japanese texts where an installed Qt keeps its translations, for the
# tests that load them from there.
mkdir -p "$qt/translations"
ln -sfn /usr/share/qt6/translations/qtbase_ja.qm "$qt/translations/"

results=$build/test-results
rm -rf "$results"
mkdir -p "$results"
started=$(date +%s)
# The tests this build defines, not every executable an older tree left.
mapfile -t tests < <(ninja -C "$build" -t targets all | grep -oE '^tests/tst_[A-Za-z0-9_]+\.exe' | sort -u)
[[ ${#tests[@]} -gt 0 ]] || { echo "windows-test: no test executables in $build" >&2; exit 1; }
for exe in "${tests[@]/#/$build/}"; do
    name=$(basename "$exe" .exe)
    out=$results/$name.txt
    status=0
    # Only a test with a QGuiApplication takes a platform.
    platform=()
    [[ $("$mingw-objdump" -p "$exe") == *"DLL Name: Qt6Gui.dll"* ]] && platform=(-platform offscreen)
    (cd "$build/tests" && timeout 600 wine "$exe" "${platform[@]}" -o "$(winpath "$out"),txt" \
        >"$results/$name.wine.log" 2>&1) || status=$?
    totals=$(grep -a '^Totals:' "$out" 2>/dev/null || true)
    if [[ $status -ne 0 || -z $totals || $totals != *", 0 failed, 0 skipped"* ]]; then
        failed+=("$name")
        echo "FAIL $name (exit $status) ${totals:-no result}"
        grep -aE '^(FAIL|SKIP|XPASS|QFATAL|QWARN)' -A2 "$out" 2>/dev/null | head -n 40 || true
    else
        echo "ok   $name: $totals"
    fi
done
# The fuzz corpus and regressions through the reader.
status=0
(cd "$build/tests" && timeout 600 wine fuzz_regressions.exe \
    "$(winpath "$root/tests/fuzz/corpus")" "$(winpath "$root/tests/fuzz/regressions")" \
    >"$results/fuzz_regressions.txt" 2>&1) || status=$?
if [[ $status -ne 0 ]]; then
    failed+=(fuzz_regressions)
    echo "FAIL fuzz_regressions (exit $status)"
    tail -n 20 "$results/fuzz_regressions.txt"
else
    echo "ok   fuzz_regressions"
fi
wineserver -w
echo "unit tests under Wine: $(( $(date +%s) - started )) s"

# --- 3. The shipped folder, end to end.
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
