# SPDX-License-Identifier: MIT
# What both Windows toolchains share; each sets CMAKE_SYSTEM_PROCESSOR and LUNAVANT_MINGW_TRIPLET
# and then includes this file.
set(CMAKE_SYSTEM_NAME Windows)

# The -posix compilers: the default (win32 thread model) ones lack std::mutex and std::thread.
set(CMAKE_C_COMPILER ${LUNAVANT_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${LUNAVANT_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${LUNAVANT_MINGW_TRIPLET}-windres)
set(CMAKE_DLLTOOL ${LUNAVANT_MINGW_TRIPLET}-dlltool)
set(LUNAVANT_WIDL ${LUNAVANT_MINGW_TRIPLET}-widl)
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
