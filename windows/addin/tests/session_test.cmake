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

function(wine_step what)
  execute_process(COMMAND "${WINE}" ${ARGN}
    RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 120)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "${what} failed (${result}):\n${out}\n${err}")
  endif()
endfunction()

if(NOT DEFINED ENV{DISPLAY} OR "$ENV{DISPLAY}" STREQUAL "")
  message(FATAL_ERROR "the session shows dialogs: run it in a wine session with a display (scripts/wine-session.sh)")
endif()
wine_step("registering the host" "${DRIVER}" --register "Z:${HOST_DLL}")
# Only this add-in: records other tests left are removed.
execute_process(COMMAND "${WINE}" reg delete "${addins_key}" /f
  OUTPUT_QUIET ERROR_QUIET TIMEOUT 60)
wine_step("regsvr32 Lunavant.dll" regsvr32 /s "Z:${ADDIN}")

file(STRINGS "${ANSWERS}" answers)
list(FILTER answers EXCLUDE REGEX "^#")
# Both at once: the answerer waits for the windows the driver's clicks open.
execute_process(
  COMMAND "${WINE}" "${ANSWERER}" --timeout 100 ${answers}
  COMMAND "${WINE}" "${DRIVER}" --addin Lunavant.Connect "Z:${SCRIPT}"
  RESULTS_VARIABLE results OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 150)
message(STATUS "lunavant-host ${SCRIPT}\n-- standard output:\n${out}-- standard error:\n${err}")
wine_step("regsvr32 /u Lunavant.dll" regsvr32 /s /u "Z:${ADDIN}")

list(GET results 0 answerer_result)
list(GET results 1 driver_result)
if(NOT driver_result EQUAL 0 OR NOT answerer_result EQUAL 0)
  message(FATAL_ERROR "the driver exited ${driver_result}, the answerer ${answerer_result}")
endif()
if(NOT out MATCHES "Lunavant.Connect \\(Lunavant\\): connected")
  message(FATAL_ERROR "the host did not connect Lunavant")
endif()
