# SPDX-License-Identifier: MIT
# cmake -DLIBRARY=<liborbelune.so> -DNM=<nm> -P check_exports.cmake
execute_process(COMMAND "${NM}" -D --defined-only "${LIBRARY}"
  OUTPUT_VARIABLE symbols RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${NM} failed on ${LIBRARY}")
endif()
string(REGEX MATCHALL "[^\n]+" lines "${symbols}")
set(functions "")
foreach(line IN LISTS lines)
  # Functions are in the text section (T); weak or data symbols would be exports too.
  if(line MATCHES "^[0-9a-fA-F]* +[TtWwVvDdBbRrIi] +(.+)$")
    set(name "${CMAKE_MATCH_1}")
    if(NOT name MATCHES "^(_init|_fini|_edata|_end|__bss_start)$")
      list(APPEND functions "${name}")
    endif()
  endif()
endforeach()
list(SORT functions)
if(NOT functions STREQUAL "G2HA;H2GA;OrbeluneCalendarVersion")
  message(FATAL_ERROR "${LIBRARY} exports '${functions}', expected only G2HA, H2GA and OrbeluneCalendarVersion")
endif()
