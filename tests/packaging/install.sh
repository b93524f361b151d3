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

diff -r "$src/packaging/hicolor" "$prefix/share/icons/hicolor" >/dev/null \
    || fail "share/icons/hicolor is not packaging/hicolor"
doc=$prefix/share/doc/roomboard
for file in README.md copyright changelog.gz; do
    [[ -f $doc/$file ]] || fail "share/doc/roomboard/$file not installed"
done
[[ -f $prefix/share/man/man1/roomboard.1.gz ]] || fail "no manual page"
# The installed README shows its pictures too.
grep -o '(docs/[^)]*)' "$doc/README.md" | tr -d '()' | sort -u | while read -r picture; do
    [[ -f $doc/$picture ]] || fail "the installed README refers to $picture, which is missing"
done

unexpected=$(cd "$prefix" && find . -type f \
    ! -path ./bin/roomboard ! -path ./share/applications/roomboard.desktop \
    ! -path './share/icons/hicolor/*/apps/roomboard.*' ! -path ./share/man/man1/roomboard.1.gz \
    ! -path ./share/doc/roomboard/README.md ! -path ./share/doc/roomboard/copyright \
    ! -path ./share/doc/roomboard/changelog.gz ! -path './share/doc/roomboard/docs/*.png')
[[ -z $unexpected ]] || fail "unexpected files installed: $unexpected"
echo "install layout ok"
