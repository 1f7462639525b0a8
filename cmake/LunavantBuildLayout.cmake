# SPDX-License-Identifier: MIT
# What every project of the repository that configures on its own sets first (the whole build,
# the converter alone, the Windows tree): ccache when the machine has it, so several work trees
# rebuild from one cache, and one folder for programs and shared libraries, so a program finds the
# converter and its other modules beside itself, as the add-in finds the converter beside its
# module.
find_program(LUNAVANT_CCACHE ccache)
if(LUNAVANT_CCACHE AND NOT CMAKE_CXX_COMPILER_LAUNCHER)
  set(CMAKE_C_COMPILER_LAUNCHER ${LUNAVANT_CCACHE})
  set(CMAKE_CXX_COMPILER_LAUNCHER ${LUNAVANT_CCACHE})
endif()
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/bin)
set(CMAKE_LIBRARY_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/bin)
include(${CMAKE_CURRENT_LIST_DIR}/LunavantWarnings.cmake)
