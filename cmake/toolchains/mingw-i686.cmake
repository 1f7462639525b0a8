# SPDX-License-Identifier: MIT
# Cross-compiles for 32-bit Windows with Debian's mingw-w64:
#   cmake -S converter -B build/windows-i686 --toolchain "$PWD/cmake/toolchains/mingw-i686.cmake"
set(CMAKE_SYSTEM_PROCESSOR i686)
set(LUNAVANT_MINGW_TRIPLET i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
