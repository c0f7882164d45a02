# SPDX-License-Identifier: MIT
# Cross-building for Windows with Debian's MinGW-w64 compilers, for the
# processor that the including toolchain file names (VELTARO_MINGW_TRIPLET
# and CMAKE_SYSTEM_PROCESSOR). The posix thread variant is the one with
# std::mutex, which GoogleTest needs. Programs are linked statically so
# that they need no MinGW runtime DLLs, and run under Wine.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${VELTARO_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VELTARO_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${VELTARO_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${VELTARO_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
