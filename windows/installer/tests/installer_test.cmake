# SPDX-License-Identifier: MIT
# The installer as a user meets it, in a wine prefix of its own made for this run, with a 32-bit
# and a 64-bit host: the silent installer (run twice, as an update) puts the add-in of both widths
# into the user's programs folder, registers each in its own registry view and lists itself once
# among the installed programs; each host, started through its host driver, connects the installed
# add-in of its width and its toolbar works (SCRIPT, while dialog-answerer answers the add-in's
# dialogs from ANSWERS); while a host holds the add-in (HELD_SCRIPT), an update and an uninstall
# both refuse with exit code 3 and change nothing; the silent uninstaller, run as Windows runs it
# (QuietUninstallString), leaves the files of the prefix and its registry as they were before the
# installation.
#   cmake -DWINE=... -DSETUP=...setup.exe -DVERSION=... -DDRIVER=... -DHOST_DLL=... -DDRIVER64=...
#         -DHOST_DLL64=... -DANSWERER=... -DPREFIX=<folder for the prefix> -DSCRIPT=... -DANSWERS=...
#         -DHELD_SCRIPT=... -DMAKENSIS=... -DMAKENSIS_DEFINITIONS=... -DNSI=Lunavant.nsi
#         -DBIN32=... -DBIN64=<folders of what it installs> -P installer_test.cmake
# Before that, an installer whose add-in cannot register fails and leaves nothing.
# Needs an X display for the add-in's dialogs (scripts/wine-session.sh gives one).
cmake_minimum_required(VERSION 3.25)

set(clsid "{5C0A7E3B-9D41-4F2A-B6E8-1A7C3D2F9B64}")
set(uninstall_key "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Lunavant")
set(addin_key "HKCU\\Software\\Microsoft\\Office\\MS Project\\Addins\\Lunavant.Connect")
set(failures "")
set(registry_view 32)
include("${CMAKE_CURRENT_LIST_DIR}/../../cmake/wine_test_steps.cmake")
include("${CMAKE_CURRENT_LIST_DIR}/prefix_steps.cmake")

make_fresh_prefix()
register_host()
wine_step("registering the 64-bit host" "${DRIVER64}" --register "Z:${HOST_DLL64}")
wait_for_prefix()
snapshot(before)

# An installer whose 64-bit add-in cannot register (a DLL that is no DLL) fails with exit code 2
# and leaves no file behind, the 32-bit add-in it had registered first included.
set(broken "${work}/broken")
file(REMOVE_RECURSE "${broken}")
file(COPY "${BIN64}/Orbelune.dll" DESTINATION "${broken}")
file(WRITE "${broken}/Lunavant.dll" "not a DLL")
execute_process(COMMAND "${MAKENSIS}" -V1 ${MAKENSIS_DEFINITIONS} "-DBIN32=${BIN32}"
                        "-DBIN64=${broken}" "-DOUTFILE=${broken}/setup.exe" "${NSI}"
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
snapshot(refused_files FILES_ONLY)
expect_same("after a refused installation, the files" "${work}/before.files" "${work}/refused_files.files")
query("${uninstall_key}")
if(found)
  fail("a refused installation left its uninstall entry")
endif()
snapshot(refused)
expect_same("after a refused installation, the registry" "${work}/before.reg" "${work}/refused.reg")

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
expect_key_values("the uninstall entry" 11
  "DisplayName +REG_SZ +Lunavant"
  "DisplayIcon +REG_SZ +${uninstaller_pattern},0"
  "URLInfoAbout +REG_SZ +https?://[^ ]+"
  "EstimatedSize +REG_DWORD +0x[0-9a-f]+"
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
set(add_in_files Lunavant.dll Lunavant_Add.bmp Lunavant_Refresh.bmp Lunavant_Remove.bmp
                 Orbelune.dll)
foreach(name ${add_in_files} Uninstall.exe)
  list(APPEND expected_files "${folder}/${name}")
endforeach()
foreach(name ${add_in_files})
  list(APPEND expected_files "${folder}/x64/${name}")
endforeach()
list(SORT expected_files)
get_filename_component(programs "${folder}" DIRECTORY)
list(FILTER files_installed EXCLUDE REGEX "^(${programs}|${folder}|${folder}/x64)$")
if(NOT files_installed STREQUAL expected_files)
  fail("the installer wrote '${files_installed}',\nexpected '${expected_files}'")
endif()

# Registered for this user, from the installed folder, each width in its own registry view: the
# class COM finds points at the DLL of that width.
foreach(registry_view 32 64)
  query("${addin_key}" /v LoadBehavior)
  if(NOT out MATCHES "LoadBehavior +REG_DWORD +0x3")
    fail("the add-in is not registered to load at start-up (${registry_view}-bit view):\n${out}")
  endif()
  set(dll "${install_location}\\Lunavant.dll")
  if(registry_view EQUAL 64)
    set(dll "${install_location}\\x64\\Lunavant.dll")
  endif()
  query("HKCR\\CLSID\\${clsid}\\InprocServer32" /ve)
  string(REPLACE "\\" "\\\\" dll_pattern "${dll}")
  if(NOT out MATCHES "REG_SZ +${dll_pattern}\r?\n")
    fail("in the ${registry_view}-bit view the add-in's class does not point at ${dll}:\n${out}")
  endif()
endforeach()

# Each host connects the installed add-in of its width, and the user works with its toolbar.
foreach(host 32 64)
  if(host EQUAL 64)
    set(DRIVER "${DRIVER64}")
  endif()
  run_answered_session("${SCRIPT}" "${ANSWERS}")
  if(NOT driver_result EQUAL 0 OR NOT answerer_result EQUAL 0)
    fail("the ${host}-bit session failed: the driver exited ${driver_result}, the answerer ${answerer_result}\n${session_out}\n${session_err}")
  elseif(NOT session_out MATCHES "Lunavant.Connect \\(Lunavant\\): connected")
    fail("the ${host}-bit host did not connect the installed add-in:\n${session_out}")
  endif()
  wait_for_prefix()
endforeach()

# While the 64-bit host holds the add-in (its Add dialog open), an update and an uninstall (run in
# place, so its exit code is its own) refuse with exit code 3; then the dialog is cancelled.
snapshot(in_use)
execute_process(
  COMMAND "${WINE}" "${DRIVER64}" --addin Lunavant.Connect "Z:${HELD_SCRIPT}"
  COMMAND sh -c [[
    "$0" "$1" --timeout 60 "Add Hijri Field" || exit 1
    "$0" "$2" /S; echo "update exited $?"
    "$0" "$3" /S "_?=$4"; echo "uninstall exited $?"
    "$0" "$1" --timeout 30 "Add Hijri Field" click:Cancel
  ]] "${WINE}" "${ANSWERER}" "${SETUP}" "${uninstaller}" "${install_location}"
  RESULTS_VARIABLE results OUTPUT_VARIABLE held_out ERROR_VARIABLE held_err TIMEOUT 200)
wait_for_prefix()
if(NOT results STREQUAL "0;0")
  fail("the host holding the add-in, or its answers, failed (${results}):\n${held_out}\n${held_err}")
endif()
foreach(step update uninstall)
  if(NOT held_out MATCHES "${step} exited 3\n")
    fail("the ${step} while the host held the add-in did not refuse with 3:\n${held_out}")
  endif()
endforeach()
snapshot(held)
expect_same("after the refused update and uninstall, the files" "${work}/in_use.files" "${work}/held.files")
expect_same("after the refused update and uninstall, the registry" "${work}/in_use.reg" "${work}/held.reg")

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
