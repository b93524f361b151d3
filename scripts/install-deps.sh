#!/usr/bin/env bash
# Installs the Debian packages a given make target needs, and only those that
# are missing, so a second run is quick and offline.
#   scripts/install-deps.sh build|run|test|deb|bench|fuzz|windows
set -euo pipefail

build=(cmake make g++ qt6-base-dev qt6-base-dev-tools fonts-ipafont-gothic fonts-noto-cjk)
# cpack finds the program's library dependencies with dpkg-shlibdeps, and
# the files to scan with file.
deb=(dpkg-dev file)
case "${1:-build}" in
    build) want=("${build[@]}") ;;
    # Qt's Japanese texts for the message boxes' buttons.
    run)   want=("${build[@]}" qt6-qpa-plugins qt6-translations-l10n) ;;
    # poppler-utils reads back the printed pages.
    test)  want=("${build[@]}" xvfb xauth xdotool faketime x11-utils x11-apps desktop-file-utils
                 binutils-mingw-w64-x86-64 libx11-dev "${deb[@]}" lintian qt6-translations-l10n
                 poppler-utils) ;;
    deb)   want=("${build[@]}" "${deb[@]}") ;;
    bench) want=("${build[@]}" libbenchmark-dev) ;;
    # libFuzzer's runtime ships apart from the compiler.
    fuzz)  want=("${build[@]}" clang-14 libclang-rt-14-dev) ;;
    # The Windows program: Qt cross-built from Debian's own source package
    # (dpkg-dev unpacks it), run under Wine on a virtual X screen. Wine only
    # recommends its own fonts (the title bar buttons) and the X libraries
    # its display driver loads at run time.
    windows) want=("${build[@]}" ninja-build perl dpkg-dev g++-mingw-w64-x86-64-posix
                   mingw-w64-tools wine fonts-wine libxrender1 libxi6 libxrandr2 libxcursor1
                   libxfixes3 libxinerama1 libxcomposite1 icoutils zip xvfb xauth xdotool
                   faketime libx11-dev qt6-translations-l10n fonts-dejavu-core) ;;
    *) echo "usage: $0 build|run|test|deb|bench|fuzz|windows" >&2; exit 2 ;;
esac

missing=()
for pkg in "${want[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null || true)
    [[ "$status" == "install ok installed" ]] || missing+=("$pkg")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

if ! command -v apt-get >/dev/null; then
    echo "Missing packages: ${missing[*]}. Install them with your package manager." >&2
    exit 1
fi
sudo=()
if [[ $(id -u) -ne 0 ]]; then
    command -v sudo >/dev/null || { echo "Please run as root or install sudo: missing ${missing[*]}" >&2; exit 1; }
    sudo=(sudo)
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
