# SPDX-License-Identifier: MIT
# The Windows builds' tests. ctest runs the programs under wine (the toolchain's emulator) in the
# prefix the caller set up; scripts/test-windows.sh does that for both architectures.

# The programs run with nothing beside them but Orbelune.dll.
set(static_runtime -static)
# Wine maps the machine's root folder to drive Z:, so the shared data is read where it lies.
set(windows_shared_data "Z:${LUNAVANT_SHARED_DATA}")
set(wine_test_timeout 120)

add_executable(orbelune_dll_test dll_test.cpp)
target_compile_features(orbelune_dll_test PRIVATE cxx_std_20)
target_link_libraries(orbelune_dll_test PRIVATE lunavant::converter_header)
target_compile_definitions(orbelune_dll_test PRIVATE
  LUNAVANT_SHARED_DATA="${windows_shared_data}")
target_link_options(orbelune_dll_test PRIVATE ${static_runtime})
lunavant_set_warnings(orbelune_dll_test)
# Loaded by name at run time, never linked: the test must find it the way a caller does.
add_dependencies(orbelune_dll_test converter)
foreach(check IN ITEMS
    CallsThroughStdcallPointers
    ConvertsEveryDayOfTheMonthTableBothWays
    TakesADayItsMonthLacksAsTheNextMonthsFirstDay
    RejectsInvalidInputsAndLeavesOutputsAtZero)
  add_test(NAME OrbeluneDll.${check} COMMAND orbelune_dll_test ${check})
  # The built-in table alone, whatever the prefix's user keeps.
  set_tests_properties(OrbeluneDll.${check} PROPERTIES TIMEOUT ${wine_test_timeout}
    ENVIRONMENT_MODIFICATION "ORBELUNE_CORRECTIONS=set:")
endforeach()
add_test(NAME OrbeluneDll.MovesShawwal1446ADayLaterWithTheCorrectionsFile
  COMMAND orbelune_dll_test MovesShawwal1446ADayLaterWithTheCorrectionsFile)
set_tests_properties(OrbeluneDll.MovesShawwal1446ADayLaterWithTheCorrectionsFile PROPERTIES
  TIMEOUT ${wine_test_timeout}
  ENVIRONMENT "ORBELUNE_CORRECTIONS=Z:${CMAKE_CURRENT_SOURCE_DIR}/data/shawwal-1446-a-day-later.txt")

# The header as a C program sees it, linked against the import library.
add_executable(converter_c_abi_test c_abi_test.c)
target_link_libraries(converter_c_abi_test PRIVATE lunavant::converter)
target_link_options(converter_c_abi_test PRIVATE ${static_runtime})
set_target_properties(converter_c_abi_test PROPERTIES C_STANDARD 99 C_STANDARD_REQUIRED ON C_EXTENSIONS OFF)
target_compile_options(converter_c_abi_test PRIVATE -Wall -Wextra -Wpedantic -Werror)
add_test(NAME OrbeluneDll.CompilesAndLinksAsC COMMAND converter_c_abi_test)
set_tests_properties(OrbeluneDll.CompilesAndLinksAsC PROPERTIES TIMEOUT ${wine_test_timeout})

add_test(NAME OrbeluneDll.ExportsOnlyItsThreeFunctions
  COMMAND "${CMAKE_COMMAND}" -DLIBRARY=$<TARGET_FILE:converter> -DOBJDUMP=${CMAKE_OBJDUMP}
          -P "${CMAKE_CURRENT_SOURCE_DIR}/check_dll_exports.cmake")
