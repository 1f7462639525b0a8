# SPDX-License-Identifier: MIT
# The installer as a user meets it, in a wine prefix of its own made for this run: the silent
# installer (run twice, as an update) puts the add-in into the user's programs folder, registers it
# and lists itself among the installed programs; the host, started through the host driver,
# connects the installed add-in and its toolbar works (SCRIPT, while dialog-answerer answers the
# add-in's dialogs from ANSWERS); the silent uninstaller, run as Windows runs it
# (QuietUninstallString), leaves the files of the prefix and its registry as they were before the
# installation.
#   cmake -DWINE=... -DSETUP=...setup.exe -DBITS=32|64 -DVERSION=... -DDRIVER=... -DANSWERER=...
#         -DHOST_DLL=... -DPREFIX=<folder for the prefix> -DSCRIPT=... -DANSWERS=...
#         -DMAKENSIS=... -DNSI=Lunavant.nsi -DBIN_DIR=<folder of what it installs>
#         -P installer_test.cmake
# Before that, an installer whose add-in cannot register fails and leaves nothing.
# Needs an X display for the add-in's dialogs (scripts/wine-session.sh gives one).
cmake_minimum_required(VERSION 3.25)

set(clsid "{5C0A7E3B-9D41-4F2A-B6E8-1A7C3D2F9B64}")
set(uninstall_key "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Lunavant")
set(addin_key "HKCU\\Software\\Microsoft\\Office\\MS Project\\Addins\\Lunavant.Connect")
get_filename_component(wineserver "${WINE}" DIRECTORY)
set(wineserver "${wineserver}/wineserver")
get_filename_component(work "${PREFIX}" DIRECTORY)
set(failures "")
set(registry_view ${BITS})
include("${CMAKE_CURRENT_LIST_DIR}/../../cmake/wine_test_steps.cmake")

# Waits until every program of the prefix has ended, wine's own services included.
function(wait_for_prefix)
  execute_process(COMMAND "${wineserver}" -w TIMEOUT 120 RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "the prefix's programs did not end (${result})")
  endif()
endfunction()

# The files of the prefix's drive C, as text in NAME.files, and unless FILES_ONLY its registry (the
# user's, and the machine's software, classes included, in both views) in NAME.reg.
function(snapshot name)
  file(GLOB_RECURSE files LIST_DIRECTORIES true RELATIVE "${PREFIX}/drive_c" "${PREFIX}/drive_c/*")
  list(SORT files)
  list(JOIN files "\n" text)
  file(WRITE "${work}/${name}.files" "${text}\n")
  if(ARGV1 STREQUAL "FILES_ONLY")
    return()
  endif()
  set(registry "")
  foreach(root HKCU "HKLM\\Software")
    wine_step("exporting ${root}" reg export "${root}" "Z:${work}/export.reg" /y /reg:64)
    file(STRINGS "${work}/export.reg" lines ENCODING UTF-16LE)
    list(JOIN lines "\n" text)
    string(APPEND registry "${text}\n")
  endforeach()
  file(WRITE "${work}/${name}.reg" "${registry}")
endfunction()

# A macro, so its failure reaches the test's list.
macro(expect_same what before after)
  execute_process(COMMAND diff -u "${before}" "${after}"
    OUTPUT_VARIABLE difference RESULT_VARIABLE difference_result)
  if(NOT difference_result EQUAL 0)
    fail("${what} differ from before the installation:\n${difference}")
  endif()
endmacro()

# A fresh prefix, as a new Windows user account would be: the keys every Windows has and a
# fresh wine prefix lacks are made, so they are not taken for the installer's own.
set(ENV{WINEPREFIX} "${PREFIX}")
set(ENV{WINEARCH} win64)
execute_process(COMMAND "${wineserver}" -k TIMEOUT 30 OUTPUT_QUIET ERROR_QUIET)
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${WINE}" wineboot --init TIMEOUT 300 RESULT_VARIABLE result
  OUTPUT_QUIET ERROR_QUIET)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "wineboot could not make the prefix ${PREFIX} (${result})")
endif()
foreach(view 32 64)
  execute_process(COMMAND "${WINE}" reg delete
    "HKLM\\Software\\Microsoft\\Windows NT\\CurrentVersion\\AeDebug" /v Debugger /f /reg:${view}
    TIMEOUT 60 OUTPUT_QUIET ERROR_QUIET)
endforeach()
foreach(key "HKCU\\Software\\Classes\\CLSID"
            "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall")
  wine_step("making ${key}" reg add "${key}" /f)
endforeach()
register_host()
wait_for_prefix()
snapshot(before)

# An installer whose add-in cannot register (a DLL that is no DLL) fails with exit code 2 and
# leaves no file behind.
set(broken "${work}/broken")
file(REMOVE_RECURSE "${broken}")
file(COPY "${BIN_DIR}/Orbelune.dll" "${BIN_DIR}/Lunavant_Add.bmp" "${BIN_DIR}/Lunavant_Remove.bmp"
          "${BIN_DIR}/Lunavant_Refresh.bmp" DESTINATION "${broken}")
file(WRITE "${broken}/Lunavant.dll" "not a DLL")
execute_process(COMMAND "${MAKENSIS}" -V1 -DARCH=${BITS} -DVERSION=${VERSION} "-DBIN_DIR=${broken}"
                        "-DOUTFILE=${broken}/setup.exe" "${NSI}"
  RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "makensis could not make the broken installer (${result})")
endif()
execute_process(COMMAND "${WINE}" "${broken}/setup.exe" /S RESULT_VARIABLE result TIMEOUT 120
  OUTPUT_QUIET ERROR_QUIET)
wait_for_prefix()
if(NOT result EQUAL 2)
  fail("an installer whose add-in does not register exited ${result}, expected 2")
endif()
snapshot(refused FILES_ONLY)
expect_same("after a refused installation, the files" "${work}/before.files" "${work}/refused.files")
query("${uninstall_key}")
if(found)
  fail("a refused installation left its uninstall entry")
endif()

# Install, silently; then again, as an update over the first installation does, which must
# leave one installation just like the first.
foreach(round first second)
  wine_step("the ${round} silent installation" "${SETUP}" /S)
  wait_for_prefix()
endforeach()

query("${uninstall_key}")
if(NOT found)
  message(FATAL_ERROR "the installer wrote no uninstall entry ${uninstall_key}")
endif()
string(REGEX MATCH "InstallLocation +REG_SZ +([^\r\n]+)" match "${out}")
set(install_location "${CMAKE_MATCH_1}")
if(NOT install_location MATCHES "^C:\\\\users\\\\[^\\\\]+\\\\AppData\\\\Local\\\\Programs\\\\Lunavant$")
  fail("installed into '${install_location}', not the user's programs folder")
endif()
set(uninstaller "${install_location}\\Uninstall.exe")
string(REPLACE "\\" "\\\\" uninstaller_pattern "${uninstaller}")
expect_key_values("the uninstall entry" 8
  "DisplayName +REG_SZ +Lunavant"
  "UninstallString +REG_SZ +\"${uninstaller_pattern}\""
  "QuietUninstallString +REG_SZ +\"${uninstaller_pattern}\" /S"
  "DisplayVersion +REG_SZ +${VERSION}"
  "Publisher +REG_SZ +Lunavant"
  "NoModify +REG_DWORD +0x1"
  "NoRepair +REG_DWORD +0x1")

# Exactly the add-in, its converter, the faces and the uninstaller, in the programs folder.
snapshot(installed FILES_ONLY)
file(STRINGS "${work}/before.files" files_before)
file(STRINGS "${work}/installed.files" files_installed)
list(REMOVE_ITEM files_installed ${files_before})
string(REGEX REPLACE "^C:\\\\" "" folder "${install_location}")
string(REPLACE "\\" "/" folder "${folder}")
set(expected_files "")
foreach(name Lunavant.dll Lunavant_Add.bmp Lunavant_Refresh.bmp Lunavant_Remove.bmp Orbelune.dll
             Uninstall.exe)
  list(APPEND expected_files "${folder}/${name}")
endforeach()
get_filename_component(programs "${folder}" DIRECTORY)
list(FILTER files_installed EXCLUDE REGEX "^(${programs}|${folder})$")
if(NOT files_installed STREQUAL expected_files)
  fail("the installer wrote '${files_installed}',\nexpected '${expected_files}'")
endif()

# Registered for this user, from the installed folder.
query("${addin_key}" /v LoadBehavior)
if(NOT out MATCHES "LoadBehavior +REG_DWORD +0x3")
  fail("the add-in is not registered to load at start-up:\n${out}")
endif()
query("HKCU\\Software\\Classes\\CLSID\\${clsid}\\InprocServer32" /ve)
string(REPLACE "\\" "\\\\" dll_pattern "${install_location}\\Lunavant.dll")
if(NOT out MATCHES "REG_SZ +${dll_pattern}\r?\n")
  fail("the add-in's class does not point at the installed DLL:\n${out}")
endif()

# The host connects the installed add-in, and the user works with its toolbar.
run_answered_session("${SCRIPT}" "${ANSWERS}")
if(NOT driver_result EQUAL 0 OR NOT answerer_result EQUAL 0)
  fail("the session failed: the driver exited ${driver_result}, the answerer ${answerer_result}\n${session_out}\n${session_err}")
elseif(NOT session_out MATCHES "Lunavant.Connect \\(Lunavant\\): connected")
  fail("the host did not connect the installed add-in:\n${session_out}")
endif()
wait_for_prefix()

# Uninstall, silently, as Windows runs it. The uninstaller copies itself to the temporary folder
# and returns at once; the copy does the work, so the test waits for every program to end.
wine_step("the silent uninstaller" "${uninstaller}" /S)
wait_for_prefix()
snapshot(after)
# NSIS's copy of the uninstaller can only be removed after it ended: it stays in the user's
# temporary folder, as on Windows. Nothing else may be left.
file(STRINGS "${work}/after.files" files_after)
list(FILTER files_after EXCLUDE REGEX "/Temp/~nsu[^/]*\\.tmp(/[^/]+)?$")
list(JOIN files_after "\n" text)
file(WRITE "${work}/after.files" "${text}\n")
expect_same("the files" "${work}/before.files" "${work}/after.files")
expect_same("the registry" "${work}/before.reg" "${work}/after.reg")

execute_process(COMMAND "${wineserver}" -k TIMEOUT 30 OUTPUT_QUIET ERROR_QUIET)
if(failures)
  message(FATAL_ERROR "${failures}(the prefix stays for a look: ${PREFIX})")
endif()
file(REMOVE_RECURSE "${PREFIX}")
