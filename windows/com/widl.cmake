# SPDX-License-Identifier: MIT
# lunavant_widl(IDL [TYPELIB]): compiles IDL with the toolchain's widl into <name>.h and
# <name>_i.c (the interface IDs) in the current binary folder, and with TYPELIB into <name>.tlb,
# for a resource script to embed. IDL files may import the ones in windows/com.
if(NOT LUNAVANT_WIDL)
  find_program(LUNAVANT_WIDL ${LUNAVANT_MINGW_TRIPLET}-widl REQUIRED)
endif()
# widl resolves importlib("stdole2.tlb") from a file; wine's own copy is the one at hand.
find_path(LUNAVANT_STDOLE2_DIR stdole2.tlb
  PATHS /usr/lib/i386-linux-gnu/wine/i386-windows /usr/lib/x86_64-linux-gnu/wine/x86_64-windows
        /usr/lib/wine/i386-windows /usr/lib/wine/x86_64-windows
  NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH REQUIRED)
set(LUNAVANT_IDL_DIR ${CMAKE_CURRENT_LIST_DIR} CACHE INTERNAL "Folder of the shared IDL files")

function(lunavant_widl idl)
  cmake_parse_arguments(PARSE_ARGV 1 arg "TYPELIB" "" "")
  get_filename_component(name "${idl}" NAME_WE)
  get_filename_component(idl_path "${idl}" ABSOLUTE)
  set(out "${CMAKE_CURRENT_BINARY_DIR}")
  set(widl_flags -I "${LUNAVANT_IDL_DIR}" -I "${CMAKE_CURRENT_SOURCE_DIR}")
  set(dependencies "${idl_path}" "${LUNAVANT_IDL_DIR}/automation_base.idl"
                   "${LUNAVANT_IDL_DIR}/extensibility.idl")
  add_custom_command(
    OUTPUT "${out}/${name}.h" "${out}/${name}_i.c"
    COMMAND "${LUNAVANT_WIDL}" ${widl_flags} -h -o "${out}/${name}.h" "${idl_path}"
    COMMAND "${LUNAVANT_WIDL}" ${widl_flags} -u -o "${out}/${name}_i.c" "${idl_path}"
    DEPENDS ${dependencies}
    COMMENT "Compiling ${name}.idl"
    VERBATIM)
  if(arg_TYPELIB)
    add_custom_command(
      OUTPUT "${out}/${name}.tlb"
      COMMAND "${LUNAVANT_WIDL}" ${widl_flags} -L "${LUNAVANT_STDOLE2_DIR}" -t
              -o "${out}/${name}.tlb" "${idl_path}"
      DEPENDS ${dependencies}
      COMMENT "Compiling the type library of ${name}.idl"
      VERBATIM)
  endif()
endfunction()
