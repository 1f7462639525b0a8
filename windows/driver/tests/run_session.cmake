# SPDX-License-Identifier: MIT
# One wine session of lunavant-host, as a person would run it: the host server and the test
# add-in registered in the caller's prefix, the add-in's record set up as SETUP says, the driver
# run on SCRIPT, then its exit code, standard error and the add-in's log checked.
#   cmake -DWINE=... -DDRIVER=... -DADDIN=... -DHOST_DLL=... -DWORK_DIR=... -DSETUP=registered
#         [-DSCRIPT=...] [-DDRIVER_ARGS=...] -DEXPECT_EXIT=0 [-DEXPECT_LOG=file]
#         [-DEXPECT_STDERR=regex;...] [-DHOST_PROGID=...] -P run_session.cmake
# SETUP: registered, registered_by_regsvr32, unregistered (registered, then unregistered),
# load_behavior_2, missing_progid, class_gone, record_not_dword.
# EXPECT_LOG holds one regular expression per line, each matching one whole line of the log;
# without it, the add-in must not have been called at all.
cmake_minimum_required(VERSION 3.25)

set(addins_key "HKCU\\Software\\Microsoft\\Office\\MS Project\\Addins")
set(addin_progid "Lunavant.TestAddIn")
set(step_timeout 60)
set(wine_step_timeout ${step_timeout})
include("${CMAKE_CURRENT_LIST_DIR}/../../cmake/wine_test_steps.cmake")

# Wine reads a Unix path given to a Windows program as a path on its drive Z:.
function(windows_path out path)
  set(${out} "Z:${path}" PARENT_SCOPE)
endfunction()

function(register dll)
  windows_path(path "${dll}")
  wine_step("registering ${dll}" "${DRIVER}" --register "${path}")
endfunction()

function(add_record progid load_type load_value)
  wine_step("writing the record of ${progid}" reg add "${addins_key}\\${progid}"
            /v LoadBehavior /t ${load_type} /d ${load_value} /f)
  wine_step("writing the record of ${progid}" reg add "${addins_key}\\${progid}"
            /v FriendlyName /t REG_SZ /d "${progid}" /f)
endfunction()

foreach(required WINE DRIVER ADDIN HOST_DLL WORK_DIR SETUP EXPECT_EXIT)
  if(NOT DEFINED ${required})
    message(FATAL_ERROR "run_session.cmake needs -D${required}")
  endif()
endforeach()

file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}")
register("${HOST_DLL}")
# Records another test left behind would be connected too.
execute_process(COMMAND "${WINE}" reg delete "${addins_key}" /f
  OUTPUT_QUIET ERROR_QUIET TIMEOUT ${step_timeout})

if(SETUP STREQUAL "registered")
  register("${ADDIN}")
elseif(SETUP STREQUAL "registered_by_regsvr32")
  windows_path(path "${ADDIN}")
  wine_step("regsvr32 ${ADDIN}" regsvr32 /s "${path}")
elseif(SETUP STREQUAL "unregistered")
  register("${ADDIN}")
  windows_path(path "${ADDIN}")
  wine_step("unregistering ${ADDIN}" "${DRIVER}" --unregister "${path}")
elseif(SETUP STREQUAL "load_behavior_2")
  register("${ADDIN}")
  add_record(${addin_progid} REG_DWORD 2)
elseif(SETUP STREQUAL "missing_progid")
  register("${ADDIN}")
  add_record(Lunavant.NoSuchAddIn REG_DWORD 3)
elseif(SETUP STREQUAL "record_not_dword")
  register("${ADDIN}")
  add_record(${addin_progid} REG_SZ 3)
elseif(SETUP STREQUAL "class_gone")
  # Registered from a copy that is then deleted, as when an add-in's folder was removed.
  get_filename_component(name "${ADDIN}" NAME)
  file(COPY_FILE "${ADDIN}" "${WORK_DIR}/${name}")
  register("${WORK_DIR}/${name}")
  file(REMOVE "${WORK_DIR}/${name}")
else()
  message(FATAL_ERROR "unknown SETUP ${SETUP}")
endif()

set(arguments ${DRIVER_ARGS})
if(DEFINED HOST_PROGID)
  list(PREPEND arguments --host ${HOST_PROGID})
endif()
if(DEFINED SCRIPT)
  windows_path(script_path "${SCRIPT}")
  list(APPEND arguments "${script_path}")
endif()
windows_path(log_path "${WORK_DIR}/addin.log")
execute_process(
  COMMAND "${CMAKE_COMMAND}" -E env "LUNAVANT_TEST_ADDIN_LOG=${log_path}"
          "${WINE}" "${DRIVER}" ${arguments}
  RESULT_VARIABLE exit_code OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 120)
message(STATUS "lunavant-host ${arguments}\n-- standard output:\n${out}-- standard error:\n${err}")

set(failures "")
if(NOT exit_code STREQUAL EXPECT_EXIT)
  string(APPEND failures "exit code ${exit_code}, expected ${EXPECT_EXIT}\n")
endif()
foreach(pattern IN LISTS EXPECT_STDERR)
  if(NOT err MATCHES "${pattern}")
    string(APPEND failures "standard error does not match: ${pattern}\n")
  endif()
endforeach()

set(log "")
if(EXISTS "${WORK_DIR}/addin.log")
  file(STRINGS "${WORK_DIR}/addin.log" log)
endif()
set(expected "")
if(DEFINED EXPECT_LOG)
  file(STRINGS "${EXPECT_LOG}" expected)
endif()
list(LENGTH log log_length)
list(LENGTH expected expected_length)
if(NOT log_length EQUAL expected_length)
  string(APPEND failures "the add-in logged ${log_length} lines, expected ${expected_length}\n")
else()
  foreach(line pattern IN ZIP_LISTS log expected)
    if(NOT line MATCHES "^${pattern}$")
      string(APPEND failures "log line\n  ${line}\ndoes not match\n  ${pattern}\n")
    endif()
  endforeach()
endif()
if(failures)
  string(REPLACE ";" "\n" log_text "${log}")
  message(FATAL_ERROR "${failures}-- the add-in's log:\n${log_text}")
endif()
