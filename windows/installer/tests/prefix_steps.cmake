# SPDX-License-Identifier: MIT
# What the installers' tests share, include()d after wine_test_steps.cmake: a fresh wine prefix of
# their own (PREFIX), waiting for its programs to end, and snapshots of its files and registry
# compared before and after.
get_filename_component(wineserver "${WINE}" DIRECTORY)
set(wineserver "${wineserver}/wineserver")
get_filename_component(work "${PREFIX}" DIRECTORY)

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
    # Wine's own settings of the user (its console's defaults, its debugger's, its system
    # parameters) come and go with the programs wine starts, whoever installs what.
    if(root STREQUAL "HKCU")
      set(kept "")
      set(wines_own FALSE)
      foreach(line IN LISTS lines)
        if(line MATCHES "^\\[HKEY_CURRENT_USER\\\\(Console|Software\\\\Wine)(\\\\|\\])")
          set(wines_own TRUE)
        elseif(line MATCHES "^\\[")
          set(wines_own FALSE)
        endif()
        if(NOT wines_own)
          list(APPEND kept "${line}")
        endif()
      endforeach()
      list(JOIN kept "\n" text)
    endif()
    string(APPEND text "\n")
    string(APPEND registry "${text}")
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

# Makes a fresh prefix at PREFIX, as a new Windows user account would be: the keys every Windows
# has and a fresh wine prefix lacks are made, so they are not taken for an installer's own.
macro(make_fresh_prefix)
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
endmacro()
