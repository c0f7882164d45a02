# SPDX-License-Identifier: MIT
# 32-bit Windows (g++-mingw-w64-i686).
set(CMAKE_SYSTEM_PROCESSOR i686)
set(VELTARO_MINGW_TRIPLET i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)

# 32-bit programs run under Debian's wine32 (of the i386 architecture),
# on a kernel that runs 32-bit programs at all.
find_program(VELTARO_WINE NAMES wine REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${VELTARO_WINE})
