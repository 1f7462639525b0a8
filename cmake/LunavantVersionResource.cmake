# SPDX-License-Identifier: MIT
# lunavant_version_resource(TARGET "description"): gives a Windows DLL or program the version
# resource Explorer's Details, installers and administrators read (product and file version,
# company, description, file name), from the project's version. Does nothing off Windows. The
# project must have the RC language enabled.
set(LUNAVANT_VERSION_RC_TEMPLATE "${CMAKE_CURRENT_LIST_DIR}/version.rc.in")

function(lunavant_version_resource target description)
  if(NOT WIN32)
    return()
  endif()
  set(LUNAVANT_RC_TARGET "${target}")
  set(LUNAVANT_RC_DESCRIPTION "${description}")
  set(LUNAVANT_RC_VERSION "${PROJECT_VERSION}")
  string(REPLACE "." "," LUNAVANT_RC_VERSION_COMMAS "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}.0")
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "EXECUTABLE")
    set(LUNAVANT_RC_FILE_TYPE VFT_APP)
  else()
    set(LUNAVANT_RC_FILE_TYPE VFT_DLL)
  endif()
  set(configured "${CMAKE_CURRENT_BINARY_DIR}/${target}_version.rc.in")
  set(generated "${CMAKE_CURRENT_BINARY_DIR}/${target}_version.rc")
  configure_file("${LUNAVANT_VERSION_RC_TEMPLATE}" "${configured}" @ONLY)
  # The file's name comes from the target, known only when the build is generated.
  file(GENERATE OUTPUT "${generated}" INPUT "${configured}")
  target_sources(${target} PRIVATE "${generated}")
endfunction()
