# What `cmake --install` lays out and what `cpack` packs into the .deb:
#   bin/roomboard                           the program, to be linked per room
#   share/applications/roomboard.desktop    launcher template (hidden, see the file)
#   share/pixmaps/roomboard.png             its icon, 64 × 45
#   share/doc/roomboard/README.md           how to set up rooms
# The program is never started as bin/roomboard itself: it would be a room of
# that name with its bookings in bin/. The README's "Installing for a school"
# says how rooms are made from it.
include(GNUInstallDirs)

install(TARGETS roomboard RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(UNIX AND NOT APPLE)
    install(FILES ${PROJECT_SOURCE_DIR}/packaging/roomboard.desktop
            DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(FILES ${PROJECT_SOURCE_DIR}/packaging/roomboard.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/pixmaps)
    install(FILES ${PROJECT_SOURCE_DIR}/README.md
            DESTINATION ${CMAKE_INSTALL_DOCDIR})
endif()

set(CPACK_PACKAGE_NAME roomboard)
set(CPACK_PACKAGE_VENDOR "roomboard")
set(CPACK_PACKAGE_CONTACT "roomboard maintainers <roomboard@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Booking board for a school's special classroom")
set(CPACK_PACKAGE_DESCRIPTION
    "A teacher sees the lesson slots of this school week and the next for one room \
(a science room, a computer room), books a free slot for a class and a subject, or \
clears a booked one. The program serves the room it is named after: one link or \
copy per room, each room's bookings in a file beside it.")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
# The build keeps its debug information; the package does not need it.
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
# Named by hand rather than by dpkg-shlibdeps: the platform plugin and the
# font are loaded at run time and no library scan would find them. The Qt
# floor is the Qt this package was built with.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libqt6core6 (>= ${Qt6Core_VERSION}), libqt6gui6 (>= ${Qt6Core_VERSION}), \
libqt6widgets6 (>= ${Qt6Core_VERSION}), qt6-qpa-plugins, fonts-ipafont-gothic")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n") # the message boxes' Japanese button texts
include(CPack)
