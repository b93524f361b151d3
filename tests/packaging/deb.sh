#!/usr/bin/env bash
# Builds the .deb into a scratch folder and checks what a Debian administrator
# would: lintian with no error and no warning, the changelog of this version,
# dependencies that include what the program links and what it loads.
#   deb.sh BUILD-DIR
set -euo pipefail
build=$1
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$out" >"$out/cpack.log" 2>&1 \
    || { cat "$out/cpack.log" >&2; fail "cpack could not build the package"; }
deb=$(echo "$out"/roomboard_*.deb)
[[ -f $deb ]] || fail "no package in $out"

status=0
findings=$(lintian --fail-on error,warning "$deb" 2>&1) || status=$?
# lintian says so when run as root; that notice is not a finding.
findings=$(grep -v 'running with root privileges' <<<"$findings" || true)
[[ $status -eq 0 && -z $findings ]] || fail "lintian (status $status):"$'\n'"$findings"

version=$(dpkg-deb -f "$deb" Version)
mkdir "$out/tree"
dpkg-deb -x "$deb" "$out/tree"
changelog=$(zcat "$out/tree/usr/share/doc/roomboard/changelog.gz" | dpkg-parsechangelog -l - -S Version)
[[ $changelog == "$version" ]] || fail "changelog is of version $changelog, the package $version"

depends=$(dpkg-deb -f "$deb" Depends)
for needed in libc6 libqt6widgets6 qt6-qpa-plugins fonts-ipafont-gothic; do
    [[ ", $depends," == *", $needed"[\ ,]* ]] || fail "Depends lacks $needed: $depends"
done
[[ $(dpkg-deb -f "$deb" Recommends) == *qt6-translations-l10n* ]] || fail "Qt's translations not recommended"
echo "package ok: $(basename "$deb"), lintian clean"
