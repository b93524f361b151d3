# cmake -D TOOL=roomboard_iconfiles -D OUT=<dir> -D COMMITTED=<packaging dir> -P iconfiles.cmake
# Writes the icon files afresh into OUT and fails naming each that differs
# from the committed one.
file(REMOVE_RECURSE "${OUT}")
execute_process(COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen "${TOOL}" "${OUT}"
    RESULT_VARIABLE failed)
file(GLOB_RECURSE written RELATIVE "${OUT}" "${OUT}/*")
if(failed OR NOT written)
    message(FATAL_ERROR "${TOOL} wrote no icon files")
endif()
foreach(name IN LISTS written)
    execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files "${OUT}/${name}" "${COMMITTED}/${name}"
        RESULT_VARIABLE differs)
    if(differs)
        list(APPEND stale "${name}")
    endif()
endforeach()
if(stale)
    message(FATAL_ERROR "Not as drawn now: ${stale}. Run: cmake --build <build dir> --target icons")
endif()
