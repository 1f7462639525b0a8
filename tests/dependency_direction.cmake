# SPDX-License-Identifier: MIT
# Checks that the product code includes only what lies below it, so the folders keep one
# dependency direction (tests may reach anything: they drive the add-in as its host does):
#   datepattern/   the standard library only
#   addin/host/    the contract: the standard library only
#   addin/         base <- pairing <- codec <- events <- shell and pairing <- tables <- shell:
#                  each folder the contract, itself and the folders it points away from; the
#                  codec and what uses it also datepattern/
#   workbench/     the contract (addin/host/), datepattern/ and itself: never the add-in
#   windows/       its host side (automation/, driver/) never the add-in, its add-in (addin/,
#                  test_addin/) never the host: the two share only the contract, datepattern/
#                  and the generic COM pieces of windows/com/
# Run as: cmake -DROOT=<repository> -P dependency_direction.cmake; names each wrong include.
cmake_minimum_required(VERSION 3.25)

set(faults "")

# Every "..." include of a product source below `folder`, checked against the allowed prefixes
# (ALLOW) or, with AVOID, against prefixes it must not have unless one of the allowed.
function(check_folder folder)
  cmake_parse_arguments(ARG "" "" "ALLOW;AVOID" ${ARGN})
  set(allowed ${ARG_UNPARSED_ARGUMENTS} ${ARG_ALLOW})
  file(GLOB_RECURSE sources RELATIVE "${ROOT}" "${ROOT}/${folder}/*.h" "${ROOT}/${folder}/*.cpp"
       "${ROOT}/${folder}/*.c")
  list(FILTER sources EXCLUDE REGEX "_test\\.(cpp|h)$|/tests/|_fixture\\.h$")
  foreach(source IN LISTS sources)
    file(STRINGS "${ROOT}/${source}" includes REGEX "^#include \"")
    foreach(line IN LISTS includes)
      string(REGEX REPLACE "^#include \"([^\"]*)\".*" "\\1" included "${line}")
      set(ok FALSE)
      foreach(prefix IN LISTS allowed)
        string(FIND "${included}" "${prefix}" at)
        if(at EQUAL 0)
          set(ok TRUE)
        endif()
      endforeach()
      # A header beside the source, named without its folder.
      if(NOT included MATCHES "/")
        set(ok TRUE)
      endif()
      if(ARG_AVOID AND NOT ok)
        set(ok TRUE)
        foreach(prefix IN LISTS ARG_AVOID)
          string(FIND "${included}" "${prefix}" at)
          if(at EQUAL 0)
            set(ok FALSE)
          endif()
        endforeach()
      endif()
      if(NOT ok)
        list(APPEND faults "${source} includes ${included}")
      endif()
    endforeach()
  endforeach()
  set(faults "${faults}" PARENT_SCOPE)
endfunction()

check_folder(datepattern "datepattern/")
check_folder(addin/host "addin/host/")
check_folder(addin/base addin/host/ addin/base/)
check_folder(addin/pairing addin/host/ addin/base/ addin/pairing/)
check_folder(addin/tables addin/host/ addin/base/ addin/pairing/ addin/tables/)
check_folder(addin/codec addin/host/ datepattern/ addin/base/ addin/pairing/ addin/codec/)
check_folder(addin/events addin/host/ datepattern/ addin/base/ addin/pairing/ addin/codec/
             addin/events/)
check_folder(addin/shell addin/host/ datepattern/ addin/base/ addin/pairing/ addin/codec/
             addin/events/ addin/tables/ addin/shell/)
check_folder(workbench "addin/host/" "datepattern/" "workbench/")
foreach(host_side windows/automation windows/driver)
  check_folder(${host_side} ALLOW addin/host/ AVOID addin/ windows/addin/ windows/test_addin/)
endforeach()
foreach(addin_side windows/addin windows/test_addin)
  check_folder(${addin_side} AVOID workbench/ windows/automation/ windows/driver/)
endforeach()

if(faults)
  list(JOIN faults "\n  " listed)
  message(FATAL_ERROR "includes against the dependency direction:\n  ${listed}")
endif()
message(STATUS "every include follows the dependency direction")
