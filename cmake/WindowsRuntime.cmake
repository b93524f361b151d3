# Run by `cmake --install` of the Windows build (see WindowsFolder.cmake),
# after roomboard.exe is in place: the Qt plugins, then every DLL that the
# program and the plugins import, followed from their import tables through
# ROOMBOARD_DLL_DIRS. A DLL found nowhere must be Windows' own, which MinGW
# knows by its import library; any other stops the install.
set(root "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")
set(CMAKE_GET_RUNTIME_DEPENDENCIES_PLATFORM windows+pe)
set(CMAKE_GET_RUNTIME_DEPENDENCIES_TOOL objdump)
set(CMAKE_GET_RUNTIME_DEPENDENCIES_COMMAND ${ROOMBOARD_OBJDUMP})

# CMake looks a PE import up by its name in lower case, as Windows would
# match it, but on Linux the file system does not: Qt6Core.dll is never
# found as qt6core.dll. So the search goes through links named in lower
# case, the first folder's DLL winning as on Windows' path, and what they
# point to is what gets installed, under its own name.
set(index ${ROOMBOARD_BUILD_DIR}/dll-index)
file(REMOVE_RECURSE ${index})
file(MAKE_DIRECTORY ${index})
foreach(dir IN LISTS ROOMBOARD_DLL_DIRS)
    file(GLOB dlls ${dir}/*.dll ${dir}/*.DLL)
    foreach(dll IN LISTS dlls)
        get_filename_component(name ${dll} NAME)
        string(TOLOWER ${name} name)
        if(NOT EXISTS ${index}/${name})
            file(CREATE_LINK ${dll} ${index}/${name} SYMBOLIC)
        endif()
    endforeach()
endforeach()

set(installed)
function(roomboard_install_dlls)
    file(GET_RUNTIME_DEPENDENCIES
        EXECUTABLES ${root}/roomboard.exe
        MODULES ${ARGN}
        RESOLVED_DEPENDENCIES_VAR found
        UNRESOLVED_DEPENDENCIES_VAR missing
        CONFLICTING_DEPENDENCIES_PREFIX conflicting
        PRE_EXCLUDE_REGEXES "^api-ms-win-" "^ext-ms-"
        DIRECTORIES ${index})
    foreach(name IN LISTS conflicting_FILENAMES)
        message(FATAL_ERROR "${name} found twice: ${conflicting_${name}}")
    endforeach()
    foreach(name IN LISTS missing)
        string(TOLOWER ${name} name)
        string(REGEX REPLACE "\\.dll$" "" stem ${name})
        if(NOT EXISTS ${ROOMBOARD_MINGW_SYSROOT}/lib/lib${stem}.a)
            message(FATAL_ERROR "${name} is imported but found in none of ${ROOMBOARD_DLL_DIRS}")
        endif()
    endforeach()
    set(files)
    foreach(link IN LISTS found)
        file(READ_SYMLINK ${link} file)
        list(APPEND files ${file})
    endforeach()
    file(INSTALL ${files} DESTINATION ${CMAKE_INSTALL_PREFIX})
    set(installed ${installed} ${files} PARENT_SCOPE)
endfunction()

file(INSTALL ${ROOMBOARD_PLUGINS}/platforms/qwindows.dll DESTINATION ${CMAKE_INSTALL_PREFIX}/platforms)
file(INSTALL ${ROOMBOARD_PLUGINS}/styles/qwindowsvistastyle.dll DESTINATION ${CMAKE_INSTALL_PREFIX}/styles)
roomboard_install_dlls(${root}/platforms/qwindows.dll ${root}/styles/qwindowsvistastyle.dll)

# A program that prints takes Qt's printer plugin along when the Qt has one
# as a file; Qt 6.4 builds it into Qt6PrintSupport.dll itself, which then
# comes as an import like any other.
set(printer ${ROOMBOARD_PLUGINS}/printsupport/windowsprintersupport.dll)
list(FILTER installed INCLUDE REGEX "/Qt6PrintSupport\\.dll$")
if(installed AND EXISTS ${printer})
    file(INSTALL ${printer} DESTINATION ${CMAKE_INSTALL_PREFIX}/printsupport)
    roomboard_install_dlls(${root}/printsupport/windowsprintersupport.dll)
endif()

# The DLLs as the program: without the symbols a debugger would want.
if(CMAKE_INSTALL_DO_STRIP)
    file(GLOB_RECURSE binaries ${root}/*.dll ${root}/*.exe)
    foreach(binary IN LISTS binaries)
        execute_process(COMMAND ${ROOMBOARD_STRIP} --strip-unneeded ${binary} COMMAND_ERROR_IS_FATAL ANY)
    endforeach()
endif()
