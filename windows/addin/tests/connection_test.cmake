# SPDX-License-Identifier: MIT
# A test program under wine (connection-test, binding-test), with the reference host and Lunavant.dll registered as a user
# registers them, and the add-in unregistered afterwards.
#   cmake -DWINE=... -DDRIVER=... -DHOST_DLL=... -DADDIN=... -DTEST=... -P connection_test.cmake
cmake_minimum_required(VERSION 3.25)

include("${CMAKE_CURRENT_LIST_DIR}/../../cmake/wine_test_steps.cmake")

register_host()
wine_step("regsvr32 Lunavant.dll" regsvr32 /s "Z:${ADDIN}")
execute_process(COMMAND "${WINE}" "${TEST}"
  RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 120)
wine_step("regsvr32 /u Lunavant.dll" regsvr32 /s /u "Z:${ADDIN}")
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${TEST} exited ${result}:\n${out}\n${err}")
endif()
