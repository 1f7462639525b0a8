# SPDX-License-Identifier: MIT
# Where an installation puts things, after the GNU conventions. The add-in module has a folder of
# its own below the library folder, as plug-ins do; the faces and the sample lie below the data
# folder. Programs find both relative to their own folder (workbench/addins/program_layout.h).
include(GNUInstallDirs)
set(LUNAVANT_ADDIN_SUBDIR lunavant)
set(LUNAVANT_FACES_SUBDIR lunavant/faces)
set(LUNAVANT_SAMPLES_SUBDIR lunavant/samples)
set(LUNAVANT_INSTALL_ADDINDIR "${CMAKE_INSTALL_LIBDIR}/${LUNAVANT_ADDIN_SUBDIR}")
set(LUNAVANT_INSTALL_FACESDIR "${CMAKE_INSTALL_DATADIR}/${LUNAVANT_FACES_SUBDIR}")
set(LUNAVANT_INSTALL_SAMPLESDIR "${CMAKE_INSTALL_DATADIR}/${LUNAVANT_SAMPLES_SUBDIR}")

# A section-1 man page made from a program's --help at build time, when help2man is at hand;
# INCLUDE names a help2man include file with further sections:
#   lunavant_add_man_page(TARGET cli NAME lunavant DESCRIPTION "..." COMPONENT cli [INCLUDE f])
# Sanitizer configurations leave them out: nothing is installed from there.
option(LUNAVANT_BUILD_MAN_PAGES "Make the programs' man pages with help2man" ON)
if(LUNAVANT_BUILD_MAN_PAGES)
  find_program(LUNAVANT_HELP2MAN help2man)
endif()
function(lunavant_add_man_page)
  cmake_parse_arguments(ARG "" "TARGET;NAME;DESCRIPTION;COMPONENT;INCLUDE" "" ${ARGN})
  if(NOT LUNAVANT_BUILD_MAN_PAGES)
    return()
  elseif(NOT LUNAVANT_HELP2MAN)
    message(STATUS "help2man not found: no man page for ${ARG_NAME}")
    return()
  endif()
  set(page "${CMAKE_CURRENT_BINARY_DIR}/${ARG_NAME}.1")
  find_program(LUNAVANT_GZIP gzip REQUIRED)
  set(include_args "")
  if(ARG_INCLUDE)
    set(include_args "--include=${ARG_INCLUDE}")
  endif()
  # Qt programs read --help only after they made their application object, which needs a display.
  # The page is in English whatever the builder's locale or the language chosen in their settings.
  # Compressed without a name or a time stamp, as Debian's man pages are.
  add_custom_command(OUTPUT "${page}.gz"
    COMMAND "${CMAKE_COMMAND}" -E env QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8 LANG=C.UTF-8
            "XDG_CONFIG_HOME=${CMAKE_CURRENT_BINARY_DIR}/${ARG_NAME}_man_settings"
            "${LUNAVANT_HELP2MAN}" --no-info
            "--name=${ARG_DESCRIPTION}" "--version-string=${PROJECT_VERSION}" ${include_args}
            "--output=${page}" "$<TARGET_FILE:${ARG_TARGET}>"
    COMMAND "${LUNAVANT_GZIP}" -9nf "${page}"
    DEPENDS ${ARG_TARGET} ${ARG_INCLUDE}
    COMMENT "Writing the man page ${ARG_NAME}.1"
    VERBATIM)
  add_custom_target(${ARG_NAME}_man_page ALL DEPENDS "${page}.gz")
  install(FILES "${page}.gz" DESTINATION "${CMAKE_INSTALL_MANDIR}/man1" COMPONENT ${ARG_COMPONENT})
endfunction()
