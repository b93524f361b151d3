#!/usr/bin/env bash
# Makes the Wine prefix the Windows tests run in, once per Wine version:
#   wineprefix.sh PREFIX
# Settings of its own:
# - Wine activates a window when the window manager offers it the focus;
#   the virtual X screen runs none, so Wine is told to follow the X focus
#   itself, or xdotool could never switch between two boards.
# - Japanese glyphs for the font of Wine's own title bars, as a Japanese
#   Windows has (the board's caption in screenshots).
# - No automatic update of the prefix: the end-to-end test runs Wine under
#   faketime, whose dates on wine.inf would otherwise set off an update at
#   every change between faked and real time.
set -euo pipefail
export WINEPREFIX=$1 WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
ready="$(wine --version) UseTakeFocus=N Tahoma+IPAGothic"
if [[ -f $WINEPREFIX/.roomboard-ready && $(cat "$WINEPREFIX/.roomboard-ready") == "$ready" ]]; then
    exit 0
fi
echo "making the Wine prefix $WINEPREFIX"
rm -rf "$WINEPREFIX"
wine wineboot --init >/dev/null 2>&1 || true
wine reg add 'HKCU\Software\Wine\X11 Driver' /v UseTakeFocus /d N /f >/dev/null 2>&1
wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' \
    /v Tahoma /t REG_MULTI_SZ /d 'ipag.ttf,IPAGothic' /f >/dev/null 2>&1
wineserver -w
[[ -f $WINEPREFIX/system.reg ]] || { echo "wineboot made no prefix" >&2; exit 1; }
grep -q '"UseTakeFocus"="N"' "$WINEPREFIX/user.reg" ||
    { echo "the Wine prefix did not take UseTakeFocus" >&2; exit 1; }
echo disable >"$WINEPREFIX/.update-timestamp"
echo "$ready" >"$WINEPREFIX/.roomboard-ready"
