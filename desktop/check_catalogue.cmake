# SPDX-License-Identifier: MIT
# Fails when a text of the desktop has no translation in CATALOGUE: the sources are read again, as
# the update_translations target reads them, into a copy of the catalogue (the catalogue itself is
# left alone), and every text the copy holds untranslated is named.
#   cmake -DLUPDATE=... -DPROJECT_SCRIPT=... -DPROJECT_GENERATOR=... -DCATALOGUE=... -DWORK_DIR=...
#         -P check_catalogue.cmake
file(MAKE_DIRECTORY "${WORK_DIR}")
get_filename_component(catalogue_name "${CATALOGUE}" NAME)
set(copy "${WORK_DIR}/${catalogue_name}")
file(COPY_FILE "${CATALOGUE}" "${copy}")

execute_process(
  COMMAND "${CMAKE_COMMAND}" "-DIN_FILE=${PROJECT_SCRIPT}" "-DOUT_FILE=${WORK_DIR}/project.json"
          -P "${PROJECT_GENERATOR}"
  RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "The list of the desktop's sources could not be made (${result}).")
endif()
execute_process(
  COMMAND "${LUPDATE}" -silent -locations none -no-ui-lines -no-obsolete
          -project "${WORK_DIR}/project.json" -ts "${copy}"
  RESULT_VARIABLE result
  ERROR_VARIABLE errors)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "lupdate failed (${result}): ${errors}")
endif()

file(READ "${copy}" text)
# CMake lists split at semicolons, which file filters hold.
string(REPLACE ";" "," text "${text}")
set(space "[ \t\r\n]*")
# A source, any comments after it, then a translation still to be made.
string(REGEX MATCHALL
  "<source>[^<]*</source>(${space}<[a-z]+>[^<]*</[a-z]+>)*${space}<translation type=\"unfinished\""
  missing "${text}")
if(missing)
  list(LENGTH missing count)
  set(report "")
  foreach(entry IN LISTS missing)
    string(REGEX MATCH "<source>([^<]*)</source>" _ "${entry}")
    set(source "${CMAKE_MATCH_1}")
    foreach(entity "amp,&" "quot,\"" "apos,'" "lt,<" "gt,>")
      string(REGEX REPLACE "^([a-z]+),(.*)$" "\\1" name "${entity}")
      string(REGEX REPLACE "^([a-z]+),(.*)$" "\\2" character "${entity}")
      string(REPLACE "&${name}," "${character}" source "${source}")
    endforeach()
    string(APPEND report "\n  ${source}")
  endforeach()
  message(FATAL_ERROR
    "${catalogue_name}: ${count} text(s) without a translation:${report}\n"
    "Run `cmake --build --preset release --target update_translations` and translate them.")
endif()
