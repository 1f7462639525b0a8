# SPDX-License-Identifier: MIT
# The MSI packages as an administrator deploys them, in a wine prefix of their own: for each of the
# per-machine and the per-user x64 package, msiexec installs it silently (both widths side by side,
# each class in its own registry view, the host's add-in record), repairs a deleted converter and
# a deleted class value, and removes it, after which the prefix's files and registry are as they
# were, but for what Windows Installer keeps of its own.
#   cmake -DWINE=... -DPREFIX=<folder for the prefix> -DMACHINE_MSI=... -DUSER_MSI=...
#         -P msi_test.cmake
cmake_minimum_required(VERSION 3.25)

set(clsid "{5C0A7E3B-9D41-4F2A-B6E8-1A7C3D2F9B64}")
set(addin_key "Software\\Microsoft\\Office\\MS Project\\Addins\\Lunavant.Connect")
set(failures "")
set(registry_view 64)
include("${CMAKE_CURRENT_LIST_DIR}/../../cmake/wine_test_steps.cmake")
include("${CMAKE_CURRENT_LIST_DIR}/prefix_steps.cmake")

# What Windows Installer makes for itself on its first use (its folder and empty bookkeeping keys,
# which every Windows has) is left out of a snapshot's comparison; anything of ours is not.
function(without_installer_bookkeeping name)
  file(STRINGS "${work}/${name}.files" files)
  list(FILTER files EXCLUDE REGEX "^windows/Installer$")
  list(JOIN files "\n" text)
  file(WRITE "${work}/${name}.files" "${text}\n")
  file(STRINGS "${work}/${name}.reg" lines)
  # The blank lines between keys go too, so a key left out leaves no gap behind.
  list(FILTER lines EXCLUDE REGEX "^[ \t\r]*$")
  list(FILTER lines EXCLUDE REGEX "^\\[HKEY_[^]]*\\\\Installer(\\\\(Features|Products|UpgradeCodes|UserData|UserData\\\\S-1-5-[0-9-]+|UserData\\\\S-1-5-[0-9-]+\\\\(Components|Products)))?\\]$")
  list(JOIN lines "\n" text)
  file(WRITE "${work}/${name}.reg" "${text}\n")
endfunction()

function(msiexec what)
  wine_step("msiexec ${what}" msiexec ${ARGN} /qn)
endfunction()

# Sets `path` to the default value of the add-in's class in one registry view.
function(class_path root view)
  set(registry_view ${view})
  query("${root}\\Software\\Classes\\CLSID\\${clsid}\\InprocServer32" /ve)
  string(REGEX MATCH "REG_SZ +([^\r\n]+)" match "${out}")
  set(path "${CMAKE_MATCH_1}" PARENT_SCOPE)
endfunction()

make_fresh_prefix()
wait_for_prefix()

foreach(scope machine user)
  if(scope STREQUAL "machine")
    set(msi "${MACHINE_MSI}")
    set(root HKLM)
    set(folder32 "${PREFIX}/drive_c/Program Files (x86)/Lunavant")
    set(folder64 "${PREFIX}/drive_c/Program Files/Lunavant")
  else()
    set(msi "${USER_MSI}")
    set(root HKCU)
    file(GLOB folder32 LIST_DIRECTORIES true "${PREFIX}/drive_c/users/*/AppData/Local")
    set(folder32 "${folder32}/Programs/Lunavant")
    set(folder64 "${folder32}/x64")
  endif()
  snapshot(${scope}_before)
  without_installer_bookkeeping(${scope}_before)

  msiexec("/i (per-${scope})" /i "Z:${msi}")
  wait_for_prefix()
  foreach(file Lunavant.dll Orbelune.dll Lunavant_Add.bmp Lunavant_Remove.bmp Lunavant_Refresh.bmp)
    foreach(folder "${folder32}" "${folder64}")
      if(NOT EXISTS "${folder}/${file}")
        fail("per-${scope}: no ${folder}/${file}")
      endif()
    endforeach()
  endforeach()
  # Wine keeps one view of the user's classes; Windows keeps two, as of the machine's.
  if(scope STREQUAL "machine")
    class_path(${root} 32)
    if(NOT path MATCHES "Program Files \\(x86\\)\\\\Lunavant\\\\Lunavant.dll$")
      fail("per-machine: the 32-bit view's class names '${path}'")
    endif()
    class_path(${root} 64)
    if(NOT path MATCHES "Program Files\\\\Lunavant\\\\Lunavant.dll$")
      fail("per-machine: the 64-bit view's class names '${path}'")
    endif()
  else()
    class_path(${root} 64)
    if(NOT path MATCHES "Programs\\\\Lunavant\\\\(x64\\\\)?Lunavant.dll$")
      fail("per-user: the class names '${path}'")
    endif()
  endif()
  foreach(registry_view 32 64)
    query("${root}\\${addin_key}")
    expect_key_values("per-${scope}: the add-in key (${registry_view}-bit view)" 3
      "FriendlyName +REG_SZ +Lunavant"
      "Description +REG_SZ +COM Add-In for Microsoft Office Project 2003"
      "LoadBehavior +REG_DWORD +0x3")
  endforeach()

  # A repair brings back a converter and a class that went missing. (msiexec /fa does the same on
  # Windows; wine's msiexec knows only the properties.)
  file(REMOVE "${folder64}/Orbelune.dll")
  wine_step("deleting the class" reg delete "${root}\\Software\\Classes\\CLSID\\${clsid}\\InprocServer32" /ve /f /reg:64)
  msiexec("repair (per-${scope})" /i "Z:${msi}" REINSTALL=ALL REINSTALLMODE=omus)
  wait_for_prefix()
  if(NOT EXISTS "${folder64}/Orbelune.dll")
    fail("per-${scope}: the repair did not bring back the 64-bit converter")
  endif()
  class_path(${root} 64)
  if(NOT path MATCHES "Lunavant.dll$")
    fail("per-${scope}: the repair did not bring back the class ('${path}')")
  endif()

  msiexec("/x (per-${scope})" /x "Z:${msi}")
  wait_for_prefix()
  snapshot(${scope}_after)
  without_installer_bookkeeping(${scope}_after)
  expect_same("per-${scope}: after removal, the files" "${work}/${scope}_before.files" "${work}/${scope}_after.files")
  expect_same("per-${scope}: after removal, the registry" "${work}/${scope}_before.reg" "${work}/${scope}_after.reg")
endforeach()

execute_process(COMMAND "${wineserver}" -k TIMEOUT 30 OUTPUT_QUIET ERROR_QUIET)
if(failures)
  message(FATAL_ERROR "${failures}(the prefix stays for a look: ${PREFIX})")
endif()
file(REMOVE_RECURSE "${PREFIX}")
