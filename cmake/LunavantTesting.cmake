# SPDX-License-Identifier: MIT
# lunavant_add_test(name SOURCES ... LIBS ... [GUI] [CONVERTER] [CORRECTIONS file])
#   One test executable; every TEST in it becomes its own ctest entry.
#   CONVERTER: the test loads the converter library by name, so it learns the folder it is built in
#   (LUNAVANT_CONVERTER_DIR) and the converter is built first.
#   GUI: the test runs real Qt widgets on the offscreen platform.
#   CORRECTIONS: the converter reads this Hijri corrections file; without it, none at all.
function(lunavant_add_test name)
  cmake_parse_arguments(ARG "GUI;CONVERTER" "CORRECTIONS" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main GTest::gmock)
  target_compile_features(${name} PRIVATE cxx_std_20)
  target_compile_definitions(${name} PRIVATE
    LUNAVANT_SHARED_DATA="${LUNAVANT_SHARED_DATA}")
  lunavant_set_warnings(${name})
  if(ARG_CONVERTER)
    target_compile_definitions(${name} PRIVATE
      LUNAVANT_CONVERTER_DIR="$<TARGET_FILE_DIR:converter>")
    add_dependencies(${name} converter)
  endif()
  # The built-in Hijri table alone, whatever corrections file the machine's user keeps; a test of
  # corrections names its own file.
  set(properties ENVIRONMENT_MODIFICATION "ORBELUNE_CORRECTIONS=set:${ARG_CORRECTIONS}")
  if(ARG_GUI)
    # A modal dialog nobody answers would wait for ever; a GUI test gets a minute.
    list(APPEND properties ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 60)
  endif()
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES ${properties})
endfunction()
