# SPDX-License-Identifier: MIT
# Cross-compiles for 64-bit Windows with Debian's mingw-w64:
#   cmake -S converter -B build/windows-x86_64 --toolchain "$PWD/cmake/toolchains/mingw-x86_64.cmake"
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(LUNAVANT_MINGW_TRIPLET x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
