# The Windows build's tests under Wine, with a plain `ctest` in its build
# folder: every test of the folder in the one Wine prefix, which the first
# test makes; Windows' own checks of the executable beside them.
if(NOT ROOMBOARD_WINE)
    return()
endif()
get_property(tests DIRECTORY PROPERTY TESTS)

add_test(NAME wine_prefix COMMAND ${CMAKE_CURRENT_LIST_DIR}/../tests/windows/wineprefix.sh ${ROOMBOARD_WINEPREFIX})
set_tests_properties(wine_prefix PROPERTIES FIXTURES_SETUP wine RUN_SERIAL ON)
# A test skipped under Wine counts as failed, so that nothing passes on
# Windows untried.
set_tests_properties(${tests} PROPERTIES
    FIXTURES_REQUIRED wine TIMEOUT 600 FAIL_REGULAR_EXPRESSION "(^|\n)SKIP +:")

# What Explorer shows of the program: its icon and version block.
add_test(NAME resources
    COMMAND ${CMAKE_CURRENT_LIST_DIR}/../tests/windows/resources.sh $<TARGET_FILE:roomboard>)
