#!/usr/bin/env bash
# Installs a build into a scratch prefix and checks what lands where.
#   install.sh BUILD-DIR SOURCE-DIR
set -euo pipefail
build=$1
src=$2
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

cmake --install "$build" --prefix "$prefix" >/dev/null

fail() { echo "FAIL: $*" >&2; exit 1; }

[[ -x $prefix/bin/roomboard ]] || fail "bin/roomboard missing or not executable"

desktop=$prefix/share/applications/roomboard.desktop
[[ -f $desktop ]] || fail "share/applications/roomboard.desktop missing"
desktop-file-validate "$desktop" || fail "roomboard.desktop does not validate"
grep -qx 'Name\[ja\]=特別教室予約ボード' "$desktop" || fail "no Japanese name in roomboard.desktop"
grep -qx 'Icon=roomboard' "$desktop" || fail "roomboard.desktop names another icon"
# Started as bin/roomboard the program is a room of that name writing into
# bin/, so the installed entry is a template that stays out of the menus.
grep -qx 'NoDisplay=true' "$desktop" || fail "roomboard.desktop would show in the menus"

cmp "$src/packaging/roomboard.png" "$prefix/share/pixmaps/roomboard.png" \
    || fail "share/pixmaps/roomboard.png is not the launcher icon"
[[ -f $prefix/share/doc/roomboard/README.md ]] || fail "README.md not installed"

unexpected=$(cd "$prefix" && find . -type f \
    ! -path ./bin/roomboard ! -path ./share/applications/roomboard.desktop \
    ! -path ./share/pixmaps/roomboard.png ! -path ./share/doc/roomboard/README.md)
[[ -z $unexpected ]] || fail "unexpected files installed: $unexpected"
echo "install layout ok"
