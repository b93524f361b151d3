# The Windows build, cross-built with MinGW on Debian (scripts/windows-build.sh):
# where the DLLs it loads come from, and Wine to run its tests, so that a
# plain `ctest` in the build folder runs them as on Linux.
#
# The DLLs: Qt's, then the compiler's runtime. A DLL found in none of these is
# Windows' own, which MinGW knows by its import library in its sysroot.
execute_process(COMMAND ${CMAKE_CXX_COMPILER} -dumpmachine
    OUTPUT_VARIABLE machine OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
set(ROOMBOARD_MINGW_SYSROOT /usr/${machine})
execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-libgcc-file-name
    OUTPUT_VARIABLE libgcc OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
get_filename_component(gcc_dir ${libgcc} DIRECTORY)
set(ROOMBOARD_DLL_DIRS ${QT6_INSTALL_PREFIX}/${QT6_INSTALL_BINS} ${gcc_dir} ${ROOMBOARD_MINGW_SYSROOT}/lib)

# Qt's Japanese texts (the buttons of its dialogs) are the same file on every
# platform: the host's.
find_file(ROOMBOARD_QTBASE_JA qtbase_ja.qm
    PATHS ${QT_HOST_PATH}/share/qt6/translations /usr/share/qt6/translations
    NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
if(NOT ROOMBOARD_QTBASE_JA)
    message(FATAL_ERROR "No qtbase_ja.qm: install qt6-translations-l10n (scripts/install-deps.sh windows)")
endif()

if(NOT CMAKE_CROSSCOMPILING)
    return()
endif()
find_program(ROOMBOARD_WINE wine)
if(NOT ROOMBOARD_WINE)
    message(STATUS "No wine: the Windows tests are built but cannot run (scripts/install-deps.sh windows)")
    return()
endif()

# Every test runs through this script: the build's own Wine prefix, the DLLs
# found on WINEPATH. The tests take their fonts and Qt's Japanese texts from
# folders of this build (tests/fonts, tests/translations), never from the Qt
# prefix, which stays as it was built.
function(roomboard_winpath out path)
    string(REPLACE "/" "\\" path "${path}")
    set(${out} "Z:${path}" PARENT_SCOPE)
endfunction()
set(wine_path)
foreach(dir IN LISTS ROOMBOARD_DLL_DIRS)
    roomboard_winpath(dir ${dir})
    list(APPEND wine_path ${dir})
endforeach()
list(JOIN wine_path ";" ROOMBOARD_WINEPATH)
set(ROOMBOARD_WINEPREFIX ${CMAKE_BINARY_DIR}/wine)
roomboard_winpath(ROOMBOARD_TEST_FONTS ${CMAKE_BINARY_DIR}/tests/fonts)
configure_file(${CMAKE_CURRENT_LIST_DIR}/wine-run.sh.in ${CMAKE_BINARY_DIR}/wine-run.sh
    FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE
    @ONLY)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run.sh)

# Qt's offscreen platform on Windows reads fonts from one folder only: the
# Japanese and Latin fonts the Linux tests get from fontconfig.
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/tests/fonts ${CMAKE_BINARY_DIR}/tests/translations)
foreach(font /usr/share/fonts/opentype/ipafont-gothic/ipag.ttf
             /usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf
             /usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc
             /usr/share/fonts/truetype/dejavu/DejaVuSans.ttf
             /usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf)
    get_filename_component(name ${font} NAME)
    file(CREATE_LINK ${font} ${CMAKE_BINARY_DIR}/tests/fonts/${name} SYMBOLIC)
endforeach()
# Beside the test executables, where the program looks after Qt's own folder.
file(CREATE_LINK ${ROOMBOARD_QTBASE_JA} ${CMAKE_BINARY_DIR}/tests/translations/qtbase_ja.qm SYMBOLIC)
