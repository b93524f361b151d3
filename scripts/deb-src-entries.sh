#!/usr/bin/env bash
# Prints deb-src entries (deb822) for the Debian entries this machine's apt
# already uses: each enabled `deb` entry whose suites include this release's
# codename, with the same URIs, suites, components and key. Nothing is named
# here that the machine does not name itself.
#   scripts/deb-src-entries.sh [sources-dir] [sources.list]
set -euo pipefail
dir=${1:-/etc/apt/sources.list.d}
list=${2:-/etc/apt/sources.list}
codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
[[ -n $codename ]] || exit 0

# deb822 files: a stanza a paragraph.
for f in "$dir"/*.sources; do
    [[ -f $f ]] || continue
    awk -v codename="$codename" '
        function flush() {
            if (types ~ /(^|[ \t])deb([ \t]|$)/ && enabled != "no" && (" " suites " ") ~ (" " codename "[ -]") ) {
                print "Types: deb-src"; print "URIs: " uris; print "Suites: " suites
                print "Components: " comps
                if (key != "") print "Signed-By: " key
                print ""
            }
            types = uris = suites = comps = key = enabled = ""
        }
        /^[ \t]*#/ { next }
        /^[ \t]*$/ { flush(); next }
        { line = $0; name = tolower(line); sub(/:.*/, "", name); sub(/^[^:]*:[ \t]*/, "", line) }
        name == "types" { types = line } name == "uris" { uris = line }
        name == "suites" { suites = line } name == "components" { comps = line }
        name == "signed-by" { key = line } name == "enabled" { enabled = tolower(line) }
        END { flush() }' "$f"
done

# One-line entries: "deb [options] uri suite components...".
for f in "$list" "$dir"/*.list; do
    [[ -f $f ]] || continue
    awk -v codename="$codename" '
        $1 == "deb" {
            i = 2; key = ""
            if ($2 ~ /^\[/) {
                while (i <= NF) { if ($i ~ /signed-by=/) { key = $i; sub(/.*signed-by=/, "", key); sub(/\]$/, "", key) }
                                  if ($i ~ /\]$/) { i++; break } ; i++ }
            }
            uri = $i; suite = $(i + 1)
            if (suite != codename && index(suite, codename "-") != 1) next
            comps = ""; for (j = i + 2; j <= NF; j++) comps = comps (comps == "" ? "" : " ") $j
            print "Types: deb-src"; print "URIs: " uri; print "Suites: " suite; print "Components: " comps
            if (key != "") print "Signed-By: " key
            print ""
        }' "$f"
done
