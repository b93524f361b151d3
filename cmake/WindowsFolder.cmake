# The folder a school copies to a share, flat: roomboard.exe, the DLLs it
# loads, Qt's plugins for Windows' screen, its style and (when the program
# prints) its printers, Qt's Japanese texts and a read-me for the
# administrator, all stripped.
#   cmake --install build-windows --prefix build-windows/roomboard-win64 --strip
#   cpack --config build-windows/CPackConfig.cmake    -> build-windows/roomboard-win64.zip
install(TARGETS roomboard RUNTIME DESTINATION .)
install(FILES ${ROOMBOARD_QTBASE_JA} DESTINATION translations)

# The read-me in the code page and line ends of a Japanese Windows, so that
# Notepad of any age opens it.
set(readme ${CMAKE_BINARY_DIR}/packaging/windows/README.txt)
add_custom_command(OUTPUT ${readme}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/packaging/windows
    COMMAND sh -c "iconv -f UTF-8 -t CP932 \"$1\" | sed 's/$/\\r/' >\"$2\"" sh
            ${PROJECT_SOURCE_DIR}/packaging/windows/README-ja.txt ${readme}
    DEPENDS ${PROJECT_SOURCE_DIR}/packaging/windows/README-ja.txt
    VERBATIM)
add_custom_target(windows_readme ALL DEPENDS ${readme})
install(FILES ${readme} DESTINATION .)

# The plugins are no link-time dependency of the program, so they are named
# here; every DLL that they and the program import follows from their import
# tables. Not install(RUNTIME_DEPENDENCY_SET): that walks targets only, and
# the plugins are files of the Qt prefix.
set(plugins ${QT6_INSTALL_PREFIX}/${QT6_INSTALL_PLUGINS})
install(CODE "
    set(ROOMBOARD_BUILD_DIR \"${CMAKE_BINARY_DIR}\")
    set(ROOMBOARD_PLUGINS \"${plugins}\")
    set(ROOMBOARD_DLL_DIRS \"${ROOMBOARD_DLL_DIRS}\")
    set(ROOMBOARD_MINGW_SYSROOT \"${ROOMBOARD_MINGW_SYSROOT}\")
    set(ROOMBOARD_OBJDUMP \"${CMAKE_OBJDUMP}\")
    set(ROOMBOARD_STRIP \"${CMAKE_STRIP}\")
    include(\"${CMAKE_CURRENT_LIST_DIR}/WindowsRuntime.cmake\")
")

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_FILE_NAME roomboard-win64)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR})
set(CPACK_STRIP_FILES ON)
