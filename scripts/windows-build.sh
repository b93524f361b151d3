#!/usr/bin/env bash
# `make windows`: the Windows program, cross-built on Debian.
#   1. the Debian packages it needs (scripts/install-deps.sh windows);
#   2. Qt for Windows, built once into a cache (scripts/windows-qt.sh);
#   3. the program and its tests, built in build-windows/;
#   4. build-windows/roomboard-win64/ and its zip: the folder a school copies
#      to a share — roomboard.exe, the DLLs it imports (followed from the
#      import tables, not listed by hand), the platform, style and printer
#      plugins, Qt's Japanese texts and a read-me for the administrator;
#      `cmake --install` and `cpack` lay it out (cmake/WindowsFolder.cmake).
# Environment: WINDOWS_BUILD (default build-windows), JOBS (default 2).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build=${WINDOWS_BUILD:-build-windows}
jobs=${JOBS:-2}

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

# --- The folder a school copies, laid out by `cmake --install` (see
# cmake/WindowsFolder.cmake) into a stage and moved into place whole, and
# its zip by cpack.
dist=$build/roomboard-win64
stage=$(mktemp -d "$build/roomboard-win64.XXXXXX")
trap 'rm -rf "$stage"' EXIT
chmod 755 "$stage"
cmake --install "$build" --prefix "$stage" --strip >/dev/null
rm -rf "$dist"
mv "$stage" "$dist"
trap - EXIT
(cd "$build" && cpack -G ZIP >/dev/null)

echo "Windows folder: $dist ($(du -sh "$dist" | cut -f1)), $dist.zip ($(du -h "$dist.zip" | cut -f1))"
(cd "$dist" && find . -iname '*.dll' | sed 's|^\./||' | sort | tr '\n' ' ')
echo
