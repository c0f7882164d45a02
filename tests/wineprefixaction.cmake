# SPDX-License-Identifier: MIT
# cmake -DACTION=setup|cleanup -DPREFIX=<folder> -DWINE=<wine> -DWINESERVER=<wineserver>
#       -DFONTS=<folder> -P wineprefixaction.cmake
# setup: a fresh Wine prefix in PREFIX, and its Wine server running. Its
# fonts stand in for the system's own: Wine's Tahoma from FONTS for the
# dialog font ("MS Shell Dlg") and its Marlett for the frame's buttons,
# and Liberation Serif, metric-compatible, for "Times New Roman".
# cleanup: stops the server and removes the prefix. WINEPREFIX must name
# PREFIX in the environment of both.
#
# The Wine server and the system processes it starts (services,
# winedevice) keep the output streams of the program that started them,
# and ctest waits until every holder of a test's output has closed it. So
# the server and those processes are started here, on a log file, and
# the server is told to outlive each test program by 30 s: the tests then
# find everything running and end as soon as they do. If cleanup never
# comes, the server ends by itself.
set(log ${PREFIX}.log)

function(run)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE result INPUT_FILE /dev/null OUTPUT_FILE ${log} ERROR_FILE ${log})
    if(NOT result EQUAL 0)
        file(READ ${log} output)
        message(FATAL_ERROR "${ARGN} failed (${result}):\n${output}")
    endif()
endfunction()

# A server left over from an earlier run must not outlive its prefix.
execute_process(COMMAND ${WINESERVER} -k OUTPUT_QUIET ERROR_QUIET)
# The prefix takes about 700 MB and the next run makes its own.
file(REMOVE_RECURSE ${PREFIX})
if(ACTION STREQUAL "cleanup")
    return()
endif()

run(${WINE} wineboot -i)
# The server that wineboot started goes within seconds, and writes the
# registry to disk as it goes; its successor stays.
run(${WINESERVER} -w)
if(NOT EXISTS ${PREFIX}/system.reg)
    message(FATAL_ERROR "wineboot -i made no registry in ${PREFIX}")
endif()
file(GLOB dialog_faces ${FONTS}/tahoma*.ttf ${FONTS}/marlett.ttf)
file(COPY ${dialog_faces} DESTINATION ${PREFIX}/drive_c/windows/Fonts)
run(${WINESERVER} -p30)
run(${WINE} reg add "HKCU\\Software\\Wine\\Fonts\\Replacements" /v "Times New Roman" /d "Liberation Serif" /f)
