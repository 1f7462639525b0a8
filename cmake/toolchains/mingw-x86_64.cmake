# SPDX-License-Identifier: MIT
# Cross-compiles for 64-bit Windows with Debian's mingw-w64:
#   cmake -S converter -B build/windows-x86_64 --toolchain "$PWD/cmake/toolchains/mingw-x86_64.cmake"
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(LUNAVANT_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${LUNAVANT_MINGW_TRIPLET}-gcc)
set(CMAKE_CXX_COMPILER ${LUNAVANT_MINGW_TRIPLET}-g++)
set(CMAKE_RC_COMPILER ${LUNAVANT_MINGW_TRIPLET}-windres)
set(CMAKE_DLLTOOL ${LUNAVANT_MINGW_TRIPLET}-dlltool)
set(CMAKE_OBJDUMP ${LUNAVANT_MINGW_TRIPLET}-objdump CACHE FILEPATH "objdump for PE files")

set(CMAKE_FIND_ROOT_PATH /usr/${LUNAVANT_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# ctest runs the Windows programs it builds under wine; the caller provides the prefix.
find_program(LUNAVANT_WINE wine)
if(LUNAVANT_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${LUNAVANT_WINE})
endif()
