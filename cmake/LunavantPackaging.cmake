# SPDX-License-Identifier: MIT
# Debian packages, one per install component, made by CPack from a build configured with the
# prefix /usr (the "package" preset):
#   cmake --preset package && cmake --build --preset package && cpack --preset package
#
#   lunavant          (cli)            the command line, the add-in module, its faces, the sample
#   lunavant-desktop  (desktop)        the Qt desktop program
#   liborbelune0      (converter)      the converter library, by its soname
#   liborbelune-dev   (converter_dev)  its header, its link-time name and orbelune.pc
set(LUNAVANT_PACKAGE_MAINTAINER "Lunavant developers <maintainers@lunavant.example>"
    CACHE STRING "The Maintainer field of the Debian packages")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME lunavant)
set(CPACK_PACKAGE_VENDOR "Lunavant")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_RESOURCE_FILE_LICENSE "${PROJECT_SOURCE_DIR}/packaging/copyright")
# The packages hold exactly what the build was configured to install, paths in pkg-config and
# in the programs' search included.
set(CPACK_PACKAGING_INSTALL_PREFIX "${CMAKE_INSTALL_PREFIX}")
set(CPACK_COMPONENTS_ALL cli converter converter_dev)
if(LUNAVANT_BUILD_DESKTOP)
  list(APPEND CPACK_COMPONENTS_ALL desktop)
endif()
set(CPACK_DEB_COMPONENT_INSTALL ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${LUNAVANT_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The converter package says which version of it programs linked against need. The dynamic
# linker's cache follows it through dpkg's ldconfig trigger, not through maintainer scripts
# (packaging/drop_ldconfig_scripts.cmake).
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# Installed programs and libraries carry no debugging symbols, as Debian's do.
set(CPACK_STRIP_FILES ON)
# A component's CPACK_COMPONENT_<C>_DEPENDS becomes a Depends on that package, same version.
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)

# Each description: a synopsis line, then paragraphs; CPack indents them as Debian wants.
set(CPACK_DEBIAN_CLI_PACKAGE_NAME lunavant)
set(CPACK_DEBIAN_CLI_PACKAGE_SECTION utils)
set(CPACK_COMPONENT_CLI_DEPENDS converter)
set(CPACK_DEBIAN_CLI_PACKAGE_SUGGESTS lunavant-desktop)
set(CPACK_DEBIAN_CLI_DESCRIPTION
  "Hijri dates beside the task dates of project schedules
Lunavant shows the task dates of a project schedule in the Hijri (Umm al-Qura)
calendar beside their Gregorian values, keeps both sides in step on every edit
and recalculation, and turns typed Hijri dates into Gregorian ones.

This package holds the command-line tool lunavant, which runs the reference
host with the Lunavant add-in on project files (MSPDI XML), the add-in module
with its button faces, and a sample project.")

set(CPACK_DEBIAN_DESKTOP_PACKAGE_NAME lunavant-desktop)
set(CPACK_DEBIAN_DESKTOP_PACKAGE_SECTION misc)
set(CPACK_COMPONENT_DESKTOP_DEPENDS cli)
# The libraries come from shlibdeps; a face with Arabic letters and Qt's own translations (its
# file and print dialogs, its buttons) are what an Arabic interface needs besides them.
set(CPACK_DEBIAN_DESKTOP_PACKAGE_DEPENDS "fonts-dejavu-core, qt6-translations-l10n")
set(CPACK_DEBIAN_DESKTOP_DESCRIPTION
  "Hijri dates beside the task dates of project schedules - desktop program
Lunavant shows the task dates of a project schedule in the Hijri (Umm al-Qura)
calendar beside their Gregorian values, and turns typed Hijri dates into
Gregorian ones.

This package holds lunavant-desktop, the reference host as a Qt desktop
program: a task sheet beside a Gantt chart with a Hijri timescale, and the
Lunavant add-in's toolbar.")

set(CPACK_DEBIAN_CONVERTER_PACKAGE_NAME "liborbelune${PROJECT_VERSION_MAJOR}")
set(CPACK_DEBIAN_CONVERTER_PACKAGE_SECTION libs)
set(CPACK_DEBIAN_CONVERTER_PACKAGE_CONTROL_EXTRA
  "${PROJECT_SOURCE_DIR}/packaging/converter/triggers")
set(CPACK_POST_BUILD_SCRIPTS "${PROJECT_SOURCE_DIR}/packaging/drop_ldconfig_scripts.cmake")
set(CPACK_DEBIAN_CONVERTER_DESCRIPTION
  "Gregorian and Hijri (Umm al-Qura) date conversion library
Orbelune converts dates between the Gregorian and the Hijri (Umm al-Qura)
calendar behind a plain C interface (G2HA, H2GA): the official Umm al-Qura
table from 1356 to 1500 AH, the tabular Hijri calendar before and after it.")

set(CPACK_DEBIAN_CONVERTER_DEV_PACKAGE_NAME liborbelune-dev)
set(CPACK_DEBIAN_CONVERTER_DEV_PACKAGE_SECTION libdevel)
set(CPACK_COMPONENT_CONVERTER_DEV_DEPENDS converter)
set(CPACK_DEBIAN_CONVERTER_DEV_DESCRIPTION
  "Gregorian and Hijri (Umm al-Qura) date conversion library - development files
Orbelune converts dates between the Gregorian and the Hijri (Umm al-Qura)
calendar behind a plain C interface (G2HA, H2GA).

This package holds the header orbelune.h, the library's link-time name and
the pkg-config file orbelune.pc.")

# The Debian changelog names the version it was last written for; a release that forgot it would
# ship packages whose history stops a version early.
file(STRINGS "${PROJECT_SOURCE_DIR}/packaging/changelog.Debian" changelog_top LIMIT_COUNT 1)
if(NOT changelog_top MATCHES "^lunavant \\(${PROJECT_VERSION}-${CPACK_DEBIAN_PACKAGE_RELEASE}\\) ")
  message(FATAL_ERROR "packaging/changelog.Debian does not begin with version "
                      "${PROJECT_VERSION}-${CPACK_DEBIAN_PACKAGE_RELEASE}: ${changelog_top}")
endif()
set(changelog_gz "${PROJECT_BINARY_DIR}/packaging/changelog.Debian.gz")
file(MAKE_DIRECTORY "${PROJECT_BINARY_DIR}/packaging")
# gzip -n: no name or time in the header, so the same changelog packs to the same bytes.
execute_process(COMMAND gzip -9nc "${PROJECT_SOURCE_DIR}/packaging/changelog.Debian"
  OUTPUT_FILE "${changelog_gz}" COMMAND_ERROR_IS_FATAL ANY)

# Each package carries the licence and the changelog where Debian looks for them.
foreach(component IN LISTS CPACK_COMPONENTS_ALL)
  string(TOUPPER "${component}" upper)
  install(FILES "${PROJECT_SOURCE_DIR}/packaging/copyright" "${changelog_gz}"
    DESTINATION "${CMAKE_INSTALL_DATAROOTDIR}/doc/${CPACK_DEBIAN_${upper}_PACKAGE_NAME}"
    COMPONENT ${component})
  install(FILES "${PROJECT_SOURCE_DIR}/packaging/lintian/${CPACK_DEBIAN_${upper}_PACKAGE_NAME}"
    DESTINATION "${CMAKE_INSTALL_DATAROOTDIR}/lintian/overrides" COMPONENT ${component})
endforeach()

include(CPack)
