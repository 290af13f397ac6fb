# The Debian package (cpack -G DEB in a build folder): what cmake --install puts under /usr,
# with the copyright and changelog Debian asks of every package; packaging/check-package
# builds it and holds it to lintian.
set(BRONDELWICK_MAINTAINER "Brondelwick maintainers <maintainers@brondelwick.example>"
    CACHE STRING "The package's maintainer, as Debian names one: Name <address>")

set(BRONDELWICK_DOCDIR ${CMAKE_INSTALL_DATADIR}/doc/brondelwick)
configure_file(${CMAKE_CURRENT_LIST_DIR}/copyright ${PROJECT_BINARY_DIR}/packaging/copyright @ONLY)
configure_file(${CMAKE_CURRENT_LIST_DIR}/changelog ${PROJECT_BINARY_DIR}/packaging/changelog @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/packaging/copyright DESTINATION ${BRONDELWICK_DOCDIR})
brondelwick_install_gzipped(${PROJECT_BINARY_DIR}/packaging/changelog ${BRONDELWICK_DOCDIR})

# A stripped installation (cmake --install --strip, and so the package) also leaves out the
# sections Debian's dh_strip removes: the compiler's comments and notes.
if(CMAKE_STRIP)
  set(strip ${PROJECT_BINARY_DIR}/packaging/strip)
  file(WRITE ${strip} "#!/bin/sh\nexec '${CMAKE_STRIP}' --remove-section=.comment --remove-section=.note \"$@\"\n")
  file(CHMOD ${strip} PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
  set(CMAKE_STRIP ${strip})
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME brondelwick)
set(CPACK_PACKAGE_VENDOR "The Brondelwick developers")
set(CPACK_PACKAGE_CONTACT "${BRONDELWICK_MAINTAINER}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "interactive 3D sketching tool")
set(CPACK_PACKAGE_DESCRIPTION [[
Brondelwick draws a flat outline, clicked point by point in its front view,
flat or extruded as a prism in the front, side, top and oblique 3D views.
The depth is set by dragging in the side view or by a typed command, and
objects and drawing settings are kept as files, which the desktop knows by
their content and opens with the program.

Its companion brondelwick-tool describes, scripts and exports the same files
without a window: STL and 3MF solids for slicers and 3D printers, SVG and PNG
pictures of the four views and DXF outlines for CAD programs. It also makes
objects from the outlines of SVG and DXF drawings.]])
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(CPack)
