# SPDX-License-Identifier: MIT
# The workbench's platform services: regional settings with the platform's date reading, and the
# dynamic library loader. Included by workbench/CMakeLists.txt once the `workbench` target exists.
target_sources(workbench PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/date_reading.cpp
  ${CMAKE_CURRENT_LIST_DIR}/locale_posix.cpp
  ${CMAKE_CURRENT_LIST_DIR}/regional_settings.cpp
  ${CMAKE_CURRENT_LIST_DIR}/library_loader.cpp)
target_link_libraries(workbench PRIVATE ${CMAKE_DL_LIBS})

if(LUNAVANT_BUILD_TESTS)
  lunavant_add_test(date_reading_test
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/date_reading_test.cpp
    LIBS lunavant::workbench)
  lunavant_add_test(regional_settings_test
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/regional_settings_test.cpp
    LIBS lunavant::workbench)
  lunavant_add_test(library_loader_test
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/library_loader_test.cpp
    LIBS lunavant::workbench
    CONVERTER)
  # The system's own search finds the converter through the test program's run path, so the test
  # can load it with no folder given. DT_RPATH rather than DT_RUNPATH: the loader honours the
  # program's DT_RPATH for every dlopen, also when a sanitizer's runtime makes the call.
  set_property(TARGET library_loader_test APPEND PROPERTY BUILD_RPATH "$<TARGET_FILE_DIR:converter>")
  target_link_options(library_loader_test PRIVATE "LINKER:--disable-new-dtags")
endif()
