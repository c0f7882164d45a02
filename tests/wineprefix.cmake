# SPDX-License-Identifier: MIT
# A Wine prefix of our own for the cross-built tests: made afresh by the
# first test (so a clean clone needs nothing beforehand), used by all of
# them, and removed with its Wine server after the last.
set(VELTARO_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
find_program(VELTARO_WINESERVER NAMES wineserver wineserver64 PATHS /usr/lib/wine REQUIRED)
# Wine's own stand-in for the face of the system's dialog font (from
# Debian's fonts-wine), which Debian's Wine does not find by itself.
find_path(VELTARO_WINE_FONTS tahoma.ttf PATHS /usr/share/wine/fonts NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH REQUIRED)

# No debug chatter; no offer to install Mono or Gecko into the prefix.
set(VELTARO_WINE_ENVIRONMENT
    WINEPREFIX=${VELTARO_WINEPREFIX}
    WINEDEBUG=-all
    WINEDLLOVERRIDES=mscoree,mshtml=
    # The tests expect the ANSI code page 1252, which Wine derives from the locale.
    LC_ALL=C.UTF-8)

foreach(action setup cleanup)
    add_test(NAME wineprefix_${action}
        COMMAND ${CMAKE_COMMAND}
            -DACTION=${action}
            -DPREFIX=${VELTARO_WINEPREFIX}
            "-DWINE=${CMAKE_CROSSCOMPILING_EMULATOR}"
            -DWINESERVER=${VELTARO_WINESERVER}
            -DFONTS=${VELTARO_WINE_FONTS}
            -P ${CMAKE_CURRENT_LIST_DIR}/wineprefixaction.cmake)
    set_tests_properties(wineprefix_${action} PROPERTIES ENVIRONMENT "${VELTARO_WINE_ENVIRONMENT}")
endforeach()
set_tests_properties(wineprefix_setup PROPERTIES FIXTURES_SETUP wineprefix)
set_tests_properties(wineprefix_cleanup PROPERTIES FIXTURES_CLEANUP wineprefix)

# Runs a test in the prefix, after the prefix is made.
function(veltaro_run_under_emulator test)
    set_tests_properties(${test} PROPERTIES
        FIXTURES_REQUIRED wineprefix
        ENVIRONMENT "${VELTARO_WINE_ENVIRONMENT}")
endfunction()
