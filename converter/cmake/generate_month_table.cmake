# SPDX-License-Identifier: MIT
# cmake -DINPUT=<months.csv> -DOUTPUT=<table.inc> -P generate_month_table.cmake
# Turns the month-by-month Umm al-Qura table into C++ initialisers, one month a line:
#   {hijri_year, hijri_month, gregorian_year, gregorian_month, gregorian_day, length},
# The C++ side checks at compile time that the months follow one another without gap or overlap,
# so a revised table that is inconsistent fails the build instead of shipping.
if(NOT INPUT OR NOT OUTPUT)
  message(FATAL_ERROR "generate_month_table.cmake needs -DINPUT=... and -DOUTPUT=...")
endif()

file(STRINGS "${INPUT}" lines)
set(row_regex "^([0-9]+),([0-9]+),([0-9][0-9][0-9][0-9])-([0-9][0-9])-([0-9][0-9]),([0-9]+)(,.*)?$")
set(body "")
set(count 0)
set(line_number 0)
foreach(line IN LISTS lines)
  math(EXPR line_number "${line_number} + 1")
  string(STRIP "${line}" line)
  if(line STREQUAL "" OR line MATCHES "^hijri_year,")
    continue()
  endif()
  if(NOT line MATCHES "${row_regex}")
    message(FATAL_ERROR "${INPUT}:${line_number}: not a month row: '${line}'")
  endif()
  # Copy the groups first: the REGEX REPLACE below overwrites CMAKE_MATCH_<n>.
  set(raw "${CMAKE_MATCH_1};${CMAKE_MATCH_2};${CMAKE_MATCH_3};${CMAKE_MATCH_4};${CMAKE_MATCH_5};${CMAKE_MATCH_6}")
  set(fields "")
  foreach(value IN LISTS raw)
    # Leading zeros would make the C++ literals octal.
    string(REGEX REPLACE "^0+([0-9])" "\\1" value "${value}")
    list(APPEND fields "${value}")
  endforeach()
  list(JOIN fields ", " row)
  string(APPEND body "    {${row}},\n")
  math(EXPR count "${count} + 1")
endforeach()
if(count EQUAL 0)
  message(FATAL_ERROR "${INPUT}: no month rows")
endif()

get_filename_component(input_name "${INPUT}" NAME)
set(content "// Generated from ${input_name} by generate_month_table.cmake; edit the CSV, not this file.\n")
string(APPEND content "// ${count} months.\n${body}")
# Rewrite only on change, so an unchanged table does not rebuild the library.
if(EXISTS "${OUTPUT}")
  file(READ "${OUTPUT}" previous)
  if(previous STREQUAL content)
    return()
  endif()
endif()
file(WRITE "${OUTPUT}" "${content}")
