#!/usr/bin/env bash
# Builds Qt for 64-bit Windows (qtbase only, shared, minimal) from Debian's own
# source package, once, into a cache outside the work tree, and prints the
# installed prefix. The prefix's name carries a hash of everything that shapes
# the build (Qt version, options, compiler, toolchain file), so a change builds
# a new Qt beside the old one, and the install is renamed into place only when
# complete: an interrupted build never passes for a cached one.
#   scripts/windows-qt.sh            -> prints e.g. ~/.cache/roomboard/qt-6.4.2-mingw-1a2b3c4d5e6f
# Environment: ROOMBOARD_CACHE (default ~/.cache/roomboard), QT_JOBS (default 2).
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
toolchain=$here/cmake/mingw-w64-x86_64.cmake
cache=${ROOMBOARD_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/roomboard}
jobs=${QT_JOBS:-2}
log() { echo "windows-qt: $*" >&2; }

# The host's Qt runs moc, rcc and uic for the Windows build, so both must be
# the same Qt release.
host_version=$(dpkg-query -W -f='${Version}' qt6-base-dev)
qt_version=${host_version#*:}
qt_version=${qt_version%%+*}
qt_version=${qt_version%%-*}

# Only what roomboard and its tests use: Core, Gui, Widgets, PrintSupport,
# Test; the windows and offscreen platforms; the windows and windowsvista
# styles.
options=(
    -DCMAKE_BUILD_TYPE=Release
    -DBUILD_SHARED_LIBS=ON
    -DQT_BUILD_EXAMPLES=OFF
    -DQT_BUILD_TESTS=OFF
    -DQT_BUILD_BENCHMARKS=OFF
    -DQT_BUILD_MANUAL_TESTS=OFF
    -DQT_HOST_PATH=/usr
    -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake
    -DFEATURE_gui=ON
    -DFEATURE_widgets=ON
    -DFEATURE_testlib=ON
    -DFEATURE_network=OFF
    -DFEATURE_sql=OFF
    -DFEATURE_xml=OFF
    -DFEATURE_dbus=OFF
    -DFEATURE_concurrent=OFF
    -DFEATURE_printsupport=ON
    # FEATURE_opengl=OFF alone leaves dynamic GL on, which the windows
    # platform plugin then fails to compile.
    -DINPUT_opengl=no
    -DFEATURE_opengl=OFF
    -DFEATURE_vulkan=OFF
    # The windows platform plugin does not link without Direct2D.
    -DFEATURE_direct2d=ON
    -DFEATURE_direct2d1_1=OFF
    # Debian's source lacks the Wintab headers this needs.
    -DFEATURE_tabletevent=OFF
    # No ICU, as in Qt's own Windows builds; Qt's bundled zlib, PCRE2,
    # libpng and FreeType, so no DLL beyond Qt's and the compiler's.
    -DFEATURE_icu=OFF
    -DFEATURE_system_zlib=OFF
    -DFEATURE_system_pcre2=OFF
    -DFEATURE_system_png=OFF
    -DFEATURE_system_freetype=OFF
    -DFEATURE_system_harfbuzz=OFF
    -DFEATURE_system_jpeg=OFF
    -DFEATURE_jpeg=OFF
    -DFEATURE_gif=OFF
    -DFEATURE_zstd=OFF
)

key=$( {
    echo "qtbase $host_version"
    printf '%s\n' "${options[@]}"
    x86_64-w64-mingw32-g++-posix --version | head -1
    cat "$toolchain"
} | sha256sum | cut -c1-12)
prefix=$cache/qt-$qt_version-mingw-$key

if [[ -f $prefix/lib/cmake/Qt6/Qt6Config.cmake ]]; then
    echo "$prefix"
    exit 0
fi

mkdir -p "$cache"
cache=$(cd "$cache" && pwd)
prefix=$cache/qt-$qt_version-mingw-$key
log "building Qt $qt_version for Windows into $prefix (once; this takes a while)"

# Debian's source package needs a deb-src entry. It is made from the
# machine's own Debian entries (the same URIs, suites and keys), so the
# source comes from wherever this machine already takes its packages.
if [[ -z $(apt-cache showsrc qt6-base 2>/dev/null) ]]; then
    sudo=()
    [[ $(id -u) -eq 0 ]] || sudo=(sudo)
    entries=$(scripts/deb-src-entries.sh)
    [[ -n $entries ]] || { log "no Debian entry in the apt sources to take the source from"; exit 1; }
    log "adding deb-src entries beside the machine's Debian entries"
    { echo "# Added by roomboard's scripts/windows-qt.sh: the source packages of the"
      echo "# Debian entries configured on this machine, for the Windows build of Qt."
      echo "$entries"; } | "${sudo[@]}" tee /etc/apt/sources.list.d/roomboard-deb-src.sources >/dev/null
    "${sudo[@]}" apt-get update -qq
fi

work=$(mktemp -d "$cache/qt-build.XXXXXX")
trap 'rm -rf "$work"' EXIT

# The source with Debian's patches, unpacked for this build only: some
# 300 MB, needed again only when the options change.
log "fetching Debian's qt6-base $host_version source"
# An older or newer Debian revision of the same Qt release does as well.
(cd "$work" && { apt-get source -qq "qt6-base=$host_version" || apt-get source -qq qt6-base; }) >&2
src=$(find "$work" -mindepth 1 -maxdepth 1 -type d -name 'qt6-base-*' | head -1)
[[ -f $src/CMakeLists.txt ]] || { log "no source tree in $work"; exit 1; }
grep -q "QT_REPO_MODULE_VERSION \"$qt_version\"" "$src/.cmake.conf" ||
    { log "the source is not Qt $qt_version"; exit 1; }

start=$(date +%s)
cmake -G Ninja -S "$src" -B "$work/build" \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_INSTALL_PREFIX="$prefix" \
    "${options[@]}" >"$work/configure.log" 2>&1 ||
    { tail -40 "$work/configure.log" >&2; cp "$work/configure.log" "$cache/qt-configure-failed.log"; exit 1; }
cmake --build "$work/build" -j "$jobs" >"$work/build.log" 2>&1 ||
    { tail -60 "$work/build.log" >&2; cp "$work/build.log" "$cache/qt-build-failed.log"; exit 1; }
DESTDIR=$work/dest cmake --install "$work/build" >"$work/install.log" 2>&1 ||
    { tail -40 "$work/install.log" >&2; exit 1; }
cp "$work/build/config.summary" "$work/dest$prefix/config.summary" 2>/dev/null || true
mv "$work/dest$prefix" "$prefix"
log "Qt built in $(( ($(date +%s) - start) / 60 )) min $(( ($(date +%s) - start) % 60 )) s"
echo "$prefix"
