# SPDX-License-Identifier: MIT
# What the script tests of the Windows tree (cmake -P under wine) share, include()d by each:
# failures collected for one report, Windows programs run as steps, the registry read in one
# view, the reference host registered, and a host session whose dialogs dialog-answerer answers.
# WINE names the wine program; DRIVER, HOST_DLL and ANSWERER the host driver, the host's server
# and the answerer where a test uses them.

# Adds a line to `failures`, which the test reports at its end.
function(fail text)
  set(failures "${failures}${text}\n" PARENT_SCOPE)
endfunction()

# Runs a Windows program (the arguments after `what`), within `wine_step_timeout` seconds (120
# unless the test sets it); stops the test when it fails. Its output in `out`.
function(wine_step what)
  set(timeout 120)
  if(DEFINED wine_step_timeout)
    set(timeout ${wine_step_timeout})
  endif()
  execute_process(COMMAND "${WINE}" ${ARGN}
    RESULT_VARIABLE result OUTPUT_VARIABLE text ERROR_VARIABLE err TIMEOUT ${timeout})
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "${what} failed (${result}):\n${text}\n${err}")
  endif()
  set(out "${text}" PARENT_SCOPE)
endfunction()

# Runs `reg query KEY [args]` in the registry view `registry_view` (32 or 64, as the DLL's
# bits); sets found (TRUE/FALSE) and out.
function(query key)
  execute_process(COMMAND "${WINE}" reg query "${key}" ${ARGN} /reg:${registry_view}
    RESULT_VARIABLE result OUTPUT_VARIABLE text ERROR_QUIET TIMEOUT 60)
  if(result EQUAL 0)
    set(found TRUE PARENT_SCOPE)
  else()
    set(found FALSE PARENT_SCOPE)
  endif()
  set(out "${text}" PARENT_SCOPE)
endfunction()

# Checks the key `what` that query last read (its values in `out`): it holds exactly `count`
# values, and one line matching each pattern after them ("NAME +REG_TYPE +DATA").
function(expect_key_values what count)
  string(REGEX MATCHALL "\n +[^ \n]+ +REG_[A-Z_]+ +[^\r\n]*" values "${out}")
  list(LENGTH values found_count)
  if(NOT found_count EQUAL count)
    fail("${what} holds ${found_count} values, expected exactly ${count}:\n${out}")
  endif()
  foreach(expected IN LISTS ARGN)
    if(NOT out MATCHES "\n +${expected}\r?\n")
      fail("${what} has no value matching '${expected}':\n${out}")
    endif()
  endforeach()
  set(failures "${failures}" PARENT_SCOPE)
endfunction()

function(register_host)
  wine_step("registering the host" "${DRIVER}" --register "Z:${HOST_DLL}")
endfunction()

# The host driver runs `script` with Lunavant connected while the answerer plays the user in
# front of the add-in's dialogs and message boxes, from `answers` (one argument a line, # for a
# comment). Sets driver_result, answerer_result, and their output in session_out and session_err.
# The host runs in `session_folder` when the test sets it, else in the test's.
function(run_answered_session script answers)
  file(STRINGS "${answers}" arguments)
  list(FILTER arguments EXCLUDE REGEX "^#")
  set(folder "")
  if(DEFINED session_folder)
    set(folder WORKING_DIRECTORY "${session_folder}")
  endif()
  # Both at once: the answerer waits for the windows the driver's clicks open.
  execute_process(${folder}
    COMMAND "${WINE}" "${ANSWERER}" --timeout 100 ${arguments}
    COMMAND "${WINE}" "${DRIVER}" --addin Lunavant.Connect "Z:${script}"
    RESULTS_VARIABLE results OUTPUT_VARIABLE text ERROR_VARIABLE error_text TIMEOUT 150)
  list(GET results 0 answerer)
  list(GET results 1 driver)
  set(answerer_result ${answerer} PARENT_SCOPE)
  set(driver_result ${driver} PARENT_SCOPE)
  set(session_out "${text}" PARENT_SCOPE)
  set(session_err "${error_text}" PARENT_SCOPE)
endfunction()
