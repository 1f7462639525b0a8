# SPDX-License-Identifier: MIT
# regsvr32 as a user runs it: the DLL exports exactly the four COM entry points and needs no
# compiler runtime; registration writes the per-user record (class, ProgID, the host's add-in key
# with exactly FriendlyName, Description and LoadBehavior), and the machine-wide class wine needs;
# unregistration leaves none of it behind.
#   cmake -DWINE=wine -DOBJDUMP=...-objdump -DDLL=.../Lunavant.dll -DVIEW=32|64 -P registration_test.cmake
cmake_minimum_required(VERSION 3.25)

set(clsid "{5C0A7E3B-9D41-4F2A-B6E8-1A7C3D2F9B64}")
set(progid "Lunavant.Connect")
set(addin_key "HKCU\\Software\\Microsoft\\Office\\MS Project\\Addins\\${progid}")
set(class_keys
  "HKCU\\Software\\Classes\\CLSID\\${clsid}"
  "HKCU\\Software\\Classes\\${progid}"
  "HKLM\\Software\\Classes\\CLSID\\${clsid}"
  "HKLM\\Software\\Classes\\${progid}")
set(failures "")
set(registry_view ${VIEW})
include("${CMAKE_CURRENT_LIST_DIR}/../../cmake/wine_test_steps.cmake")

function(regsvr32 what)
  wine_step("regsvr32 ${what}" regsvr32 /s ${ARGN} "Z:${DLL}")
endfunction()

# The exports, and no compiler runtime among the imports.
execute_process(COMMAND "${OBJDUMP}" -p "${DLL}" OUTPUT_VARIABLE pe RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "objdump cannot read ${DLL}")
endif()
string(REGEX MATCH "\\[Ordinal/Name Pointer\\] Table\n([^\n]+\n)+" export_block "${pe}")
string(REGEX MATCHALL "\\[ *[0-9]+[]] [A-Za-z_@0-9]+" exports "${export_block}")
list(TRANSFORM exports REPLACE "^[^]]*[]] " "")
list(SORT exports)
set(expected_exports DllCanUnloadNow DllGetClassObject DllRegisterServer DllUnregisterServer)
if(NOT exports STREQUAL expected_exports)
  fail("exports are '${exports}', expected '${expected_exports}'")
endif()
string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${pe}")
foreach(runtime libgcc libstdc libwinpthread)
  if(imports MATCHES "${runtime}")
    fail("Lunavant.dll needs the compiler's runtime: ${imports}")
  endif()
endforeach()

# A version resource in the add-in and in its converter beside it, as Explorer and installers read
# it: each name followed by its value, in UTF-16 (read as hexadecimal, since a binary's bytes are no
# CMake list).
function(utf16_hex text out)
  string(HEX "${text}" hex)
  string(REGEX REPLACE "(..)" "\\100" hex "${hex}")
  set(${out} "${hex}" PARENT_SCOPE)
endfunction()
set(version_digits "3[0-9]00(3[0-9]00)*(2e003[0-9]00(3[0-9]00)*)+")
utf16_hex("Lunavant" lunavant)
get_filename_component(folder "${DLL}" DIRECTORY)
foreach(module "${DLL}" "${folder}/Orbelune.dll")
  file(READ "${module}" binary HEX)
  foreach(entry "CompanyName=${lunavant}" "ProductName=${lunavant}" "FileDescription=([1-7][0-9a-f]00)+"
                "FileVersion=${version_digits}" "ProductVersion=${version_digits}")
    string(REPLACE "=" ";" entry "${entry}")
    list(GET entry 0 name)
    list(GET entry 1 value)
    utf16_hex("${name}" name_hex)
    if(NOT binary MATCHES "${name_hex}0000(0000)?${value}0000")
      fail("${module} has no version resource entry ${name}")
    endif()
  endforeach()
endforeach()

# A clean start: nothing of an earlier run.
regsvr32(unregistration /u)
regsvr32(registration)

query("${addin_key}")
if(NOT found)
  fail("no add-in key ${addin_key}")
else()
  expect_key_values("the add-in key" 3
    "FriendlyName +REG_SZ +Lunavant"
    "Description +REG_SZ +COM Add-In for Microsoft Office Project 2003"
    "LoadBehavior +REG_DWORD +0x3")
endif()

string(REPLACE "/" "\\" windows_dll "Z:${DLL}")
foreach(root HKCU HKLM)
  query("${root}\\Software\\Classes\\CLSID\\${clsid}\\InprocServer32")
  if(NOT found)
    fail("${root}: the class has no InprocServer32")
  else()
    string(TOLOWER "${out}" lowered_out)
    string(TOLOWER "${windows_dll}" lowered_dll)
    string(FIND "${lowered_out}" "${lowered_dll}" at)
    if(at EQUAL -1)
      fail("${root}: InprocServer32 does not name ${windows_dll}:\n${out}")
    endif()
    if(NOT out MATCHES "ThreadingModel +REG_SZ +Apartment")
      fail("${root}: the class is not apartment-threaded:\n${out}")
    endif()
  endif()
  query("${root}\\Software\\Classes\\${progid}\\CLSID")
  if(NOT found OR NOT out MATCHES "REG_SZ +${clsid}")
    fail("${root}: the ProgID does not name the class:\n${out}")
  endif()
endforeach()

regsvr32(unregistration /u)
foreach(key "${addin_key}" ${class_keys})
  query("${key}")
  if(found)
    fail("left behind after regsvr32 /u: ${key}")
  endif()
endforeach()
# Unregistering what is not registered is no failure either.
regsvr32("a second unregistration" /u)

if(failures)
  message(FATAL_ERROR "${failures}")
endif()
