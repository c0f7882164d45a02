# SPDX-License-Identifier: MIT
# 64-bit Windows (g++-mingw-w64-x86-64).
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(VELTARO_MINGW_TRIPLET x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)

# Debian's 64-bit loader itself, outside PATH: it runs 64-bit programs
# whether or not the 32-bit Wine is installed beside it (the launcher
# "wine" then starts the 32-bit loader first, which a kernel without
# 32-bit support cannot run). Elsewhere, whatever "wine" there is.
find_program(VELTARO_WINE NAMES wine64 wine PATHS /usr/lib/wine NO_DEFAULT_PATH)
find_program(VELTARO_WINE NAMES wine REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${VELTARO_WINE})
