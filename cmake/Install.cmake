# What `cmake --install` lays out and what `cpack` packs into the .deb:
#   bin/roomboard                           the program, to be linked per room
#   share/applications/roomboard.desktop    launcher template (hidden, see the file)
#   share/icons/hicolor/*/apps/roomboard.*  its icon, square PNGs and an SVG
#   share/man/man1/roomboard.1.gz           the manual page
#   share/doc/roomboard/                    README.md with its pictures, copyright, changelog.gz
# The program is never started as bin/roomboard itself: it only says how a
# room is made. The README's "Installing for a school" says how.
# The Windows build lays out the folder a school copies instead, and `cpack`
# zips it: see WindowsFolder.cmake.
include(GNUInstallDirs)

set(ROOMBOARD_MAINTAINER "roomboard developers <roomboard-dev@lists.roomboard.org>")

if(WIN32)
    include(${CMAKE_CURRENT_LIST_DIR}/WindowsFolder.cmake)
else()
    install(TARGETS roomboard RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
if(UNIX AND NOT APPLE)
    install(FILES ${PROJECT_SOURCE_DIR}/packaging/roomboard.desktop
            DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(DIRECTORY ${PROJECT_SOURCE_DIR}/packaging/hicolor
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
    install(FILES ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/packaging/copyright
            DESTINATION ${CMAKE_INSTALL_DOCDIR})
    # The README's pictures, where its links look for them.
    install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs
            DESTINATION ${CMAKE_INSTALL_DOCDIR} FILES_MATCHING PATTERN "*.png")

    # Debian wants the manual page and the changelog compressed at the
    # highest level, without a time stamp.
    configure_file(${PROJECT_SOURCE_DIR}/packaging/changelog.in
                   ${CMAKE_BINARY_DIR}/packaging/changelog @ONLY)
    set(gzipped)
    foreach(source ${PROJECT_SOURCE_DIR}/packaging/roomboard.1 ${CMAKE_BINARY_DIR}/packaging/changelog)
        get_filename_component(name ${source} NAME)
        set(target ${CMAKE_BINARY_DIR}/packaging/${name}.gz)
        add_custom_command(OUTPUT ${target}
            COMMAND gzip -9n -c ${source} > ${target}
            DEPENDS ${source}
            VERBATIM)
        list(APPEND gzipped ${target})
    endforeach()
    add_custom_target(gzipped_docs ALL DEPENDS ${gzipped})
    install(FILES ${CMAKE_BINARY_DIR}/packaging/roomboard.1.gz
            DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
    install(FILES ${CMAKE_BINARY_DIR}/packaging/changelog.gz
            DESTINATION ${CMAKE_INSTALL_DOCDIR})
endif()

set(CPACK_PACKAGE_NAME roomboard)
set(CPACK_PACKAGE_VENDOR "roomboard")
set(CPACK_PACKAGE_CONTACT ${ROOMBOARD_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Booking board for a school's special classroom")
set(CPACK_PACKAGE_DESCRIPTION [[
A teacher sees the lesson slots of this school week and the next for one
room (a science room, a computer room), books a free slot for a class and a
subject, or clears a booked one. All its text is Japanese.

The program serves the room it is named after: one link or copy per room in
a folder of rooms, each room's bookings in a file beside it, in the format of
the room's earlier Windows program.]])
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
if(WIN32)
    include(CPack)
    return()
endif()
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
# The build keeps its debug information; the package does not need it.
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
# The libraries the program links come from dpkg-shlibdeps; the platform
# plugin and the font are loaded at run time, where no library scan finds
# them. Qt's own Japanese translations name the buttons of its dialogs.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-ipafont-gothic")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-translations-l10n)
include(CPack)
