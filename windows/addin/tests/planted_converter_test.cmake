# SPDX-License-Identifier: MIT
# Lunavant.dll installed in a folder of its own without its converter, while other copies of
# Orbelune.dll lie where Windows would search for a DLL by name: beside the host's program (the
# host driver's folder holds one), in the host's current folder and in a folder on PATH. The add-in
# must load none of them: its conversion fails with its own message, which says to reinstall, and
# writes nothing. Then the same with a damaged Orbelune.dll in the add-in's folder.
#   cmake -DWINE=... -DDRIVER=... -DANSWERER=... -DHOST_DLL=... -DADDIN=... -DSCRIPT=...
#         -DMISSING_ANSWERS=... -DBROKEN_ANSWERS=... -DWORK=<folder for the copies>
#         -P planted_converter_test.cmake
cmake_minimum_required(VERSION 3.25)
set(addins_key "HKCU\\Software\\Microsoft\\Office\\MS Project\\Addins")

include("${CMAKE_CURRENT_LIST_DIR}/../../cmake/wine_test_steps.cmake")

get_filename_component(bin "${ADDIN}" DIRECTORY)
set(own "${WORK}/installed")
file(REMOVE_RECURSE "${WORK}")
file(COPY "${ADDIN}" "${bin}/Lunavant_Add.bmp" "${bin}/Lunavant_Remove.bmp"
          "${bin}/Lunavant_Refresh.bmp" DESTINATION "${own}")
foreach(planted current on-path)
  file(COPY "${bin}/Orbelune.dll" DESTINATION "${WORK}/${planted}")
endforeach()
if(NOT EXISTS "${bin}/Orbelune.dll")
  message(FATAL_ERROR "no Orbelune.dll beside the host's program to plant")
endif()
set(ENV{WINEPATH} "Z:${WORK}/on-path")
set(session_folder "${WORK}/current")

register_host()
execute_process(COMMAND "${WINE}" reg delete "${addins_key}" /f
  OUTPUT_QUIET ERROR_QUIET TIMEOUT 60)
wine_step("regsvr32 the add-in's own copy" regsvr32 /s "Z:${own}/Lunavant.dll")

set(failures "")
foreach(case missing broken)
  if(case STREQUAL "broken")
    file(WRITE "${own}/Orbelune.dll" "not a DLL")
    set(answers "${BROKEN_ANSWERS}")
  else()
    set(answers "${MISSING_ANSWERS}")
  endif()
  run_answered_session("${SCRIPT}" "${answers}")
  if(NOT driver_result EQUAL 0 OR NOT answerer_result EQUAL 0)
    fail("with the converter ${case}, the driver exited ${driver_result}, the answerer ${answerer_result}:\n${session_out}\n${session_err}")
  endif()
endforeach()
wine_step("regsvr32 /u the add-in's own copy" regsvr32 /s /u "Z:${own}/Lunavant.dll")
if(failures)
  message(FATAL_ERROR "${failures}")
endif()
file(REMOVE_RECURSE "${WORK}")
