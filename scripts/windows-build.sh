#!/usr/bin/env bash
# `make windows`: the Windows program, cross-built on Debian.
#   1. the Debian packages it needs (scripts/install-deps.sh windows);
#   2. Qt for Windows, built once into a cache (scripts/windows-qt.sh);
#   3. the program and its tests, built in build-windows/;
#   4. build-windows/roomboard-win64/ and its zip: the folder a school copies
#      to a share — roomboard.exe, the DLLs it imports (followed from the
#      executable's import table, not listed by hand), the platform and style
#      plugins, Qt's Japanese texts and a read-me for the administrator.
# Environment: WINDOWS_BUILD (default build-windows), JOBS (default 2).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build=${WINDOWS_BUILD:-build-windows}
jobs=${JOBS:-2}
mingw=x86_64-w64-mingw32

scripts/install-deps.sh windows
qt=$(scripts/windows-qt.sh)

# Built against another Qt before (its options changed): configure afresh,
# or CMake would keep finding the old one.
if [[ -f $build/qt-prefix && $(cat "$build/qt-prefix") != "$qt" ]]; then
    rm -rf "$build/CMakeCache.txt" "$build/CMakeFiles"
fi
cmake -G Ninja -S . -B "$build" \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_PREFIX_PATH="$qt" -DCMAKE_FIND_ROOT_PATH="$qt" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake >/dev/null
echo "$qt" >"$build/qt-prefix"
cmake --build "$build" -j "$jobs"

# --- The folder a school copies.
dist=$build/roomboard-win64
stage=$(mktemp -d "$build/roomboard-win64.XXXXXX")
trap 'rm -rf "$stage"' EXIT
chmod 755 "$stage"
mkdir -p "$stage/platforms" "$stage/styles" "$stage/translations"
cp "$build/roomboard.exe" "$stage/"
cp "$qt/plugins/platforms/qwindows.dll" "$stage/platforms/"
cp "$qt/plugins/styles/qwindowsvistastyle.dll" "$stage/styles/"
cp /usr/share/qt6/translations/qtbase_ja.qm "$stage/translations/"

# Where the DLLs come from: Qt, then the compiler's runtime. A DLL found in
# none of them is Windows' own, which MinGW knows by its import library.
gcc_dir=$(dirname "$("$mingw-g++-posix" -print-libgcc-file-name)")
dll_dirs=("$qt/bin" "$gcc_dir" "/usr/$mingw/lib")
find_dll() {
    local name=$1 dir hit
    for dir in "${dll_dirs[@]}"; do
        hit=$(find "$dir" -maxdepth 1 -iname "$name" -print -quit)
        [[ -n $hit ]] && { echo "$hit"; return; }
    done
    return 0
}
imports() { "$mingw-objdump" -p "$1" | sed -n 's/^\s*DLL Name: //p'; }

declare -A seen=()
queue=("$stage/roomboard.exe" "$stage/platforms/qwindows.dll" "$stage/styles/qwindowsvistastyle.dll")
while [[ ${#queue[@]} -gt 0 ]]; do
    pe=${queue[0]}
    queue=("${queue[@]:1}")
    while read -r name; do
        key=${name,,}
        [[ -n ${seen[$key]:-} ]] && continue
        seen[$key]=1
        dll=$(find_dll "$name")
        if [[ -n $dll ]]; then
            cp "$dll" "$stage/"
            queue+=("$stage/$(basename "$dll")")
        elif [[ $key == api-ms-win-* ]] || [[ -f /usr/$mingw/lib/lib${key%.dll}.a ]]; then
            : # part of Windows
        else
            echo "windows-build: $(basename "$pe") imports $name, found nowhere" >&2
            exit 1
        fi
    done < <(imports "$pe")
done

find "$stage" -iname '*.exe' -o -iname '*.dll' | xargs "$mingw-strip" --strip-unneeded

# The read-me in the code page and line ends of a Japanese Windows, so that
# Notepad of any age opens it.
iconv -f UTF-8 -t CP932 packaging/windows/README-ja.txt | sed 's/$/\r/' >"$stage/README.txt"

rm -rf "$dist" "$dist.zip"
mv "$stage" "$dist"
trap - EXIT
(cd "$build" && zip -qr -X roomboard-win64.zip roomboard-win64)

echo "Windows folder: $dist ($(du -sh "$dist" | cut -f1)), $dist.zip ($(du -h "$dist.zip" | cut -f1))"
(cd "$dist" && find . -iname '*.dll' | sed 's|^\./||' | sort | tr '\n' ' ')
echo
