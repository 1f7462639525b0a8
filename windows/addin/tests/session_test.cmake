# SPDX-License-Identifier: MIT
# A whole user session of Lunavant.dll in the reference host under wine: the host server and the
# add-in registered as a user would (regsvr32), the host driver running SCRIPT while
# dialog-answerer plays the user in front of the add-in's dialogs and message boxes (ANSWERS,
# one argument per line). Needs an X display, as scripts/wine-session.sh gives the wine session. Checks that both finished and that the
# driver met every expectation, then unregisters the add-in.
#   cmake -DWINE=... -DDRIVER=... -DANSWERER=... -DHOST_DLL=... -DADDIN=... -DSCRIPT=...
#         -DANSWERS=... -P session_test.cmake
cmake_minimum_required(VERSION 3.25)
set(addins_key "HKCU\\Software\\Microsoft\\Office\\MS Project\\Addins")

include("${CMAKE_CURRENT_LIST_DIR}/../../cmake/wine_test_steps.cmake")

if(NOT DEFINED ENV{DISPLAY} OR "$ENV{DISPLAY}" STREQUAL "")
  message(FATAL_ERROR "the session shows dialogs: run it in a wine session with a display (scripts/wine-session.sh)")
endif()
register_host()
# Only this add-in: records other tests left are removed.
execute_process(COMMAND "${WINE}" reg delete "${addins_key}" /f
  OUTPUT_QUIET ERROR_QUIET TIMEOUT 60)
wine_step("regsvr32 Lunavant.dll" regsvr32 /s "Z:${ADDIN}")

run_answered_session("${SCRIPT}" "${ANSWERS}")
message(STATUS "lunavant-host ${SCRIPT}\n-- standard output:\n${session_out}-- standard error:\n${session_err}")
wine_step("regsvr32 /u Lunavant.dll" regsvr32 /s /u "Z:${ADDIN}")

if(NOT driver_result EQUAL 0 OR NOT answerer_result EQUAL 0)
  message(FATAL_ERROR "the driver exited ${driver_result}, the answerer ${answerer_result}")
endif()
if(NOT session_out MATCHES "Lunavant.Connect \\(Lunavant\\): connected")
  message(FATAL_ERROR "the host did not connect Lunavant")
endif()
