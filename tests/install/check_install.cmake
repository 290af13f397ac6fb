# Installs the build into a temporary prefix and checks that a desktop user finds everything
# where it belongs, the command-line tool beside the program, the manual pages, the tool's
# bash completion and thumbnailer entry, the file types, the AppStream file and the package's
# documents; validates the desktop entry when desktop-file-validate is installed and the
# AppStream file with appstreamcli, and checks that the completion offers the options the tool's help lists.
set(prefix ${BUILD_DIR}/install-check)
file(REMOVE_RECURSE ${prefix})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix}
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${result}")
endif()
include(GNUInstallDirs)
foreach(path
    ${CMAKE_INSTALL_LIBDIR}/brondelwick/brondelwick
    ${CMAKE_INSTALL_LIBDIR}/brondelwick/brondelwick-tool
    bin/brondelwick
    bin/brondelwick-tool
    share/applications/brondelwick.desktop
    share/icons/hicolor/scalable/apps/brondelwick.svg
    share/pixmaps/brondelwick.png
    share/man/man1/brondelwick.1.gz
    share/man/man1/brondelwick-tool.1.gz
    share/bash-completion/completions/brondelwick-tool
    share/mime/packages/brondelwick.xml
    share/metainfo/org.brondelwick.brondelwick.metainfo.xml
    share/doc/brondelwick/copyright
    share/doc/brondelwick/changelog.gz
    share/thumbnailers/brondelwick.thumbnailer)
  if(NOT EXISTS ${prefix}/${path})
    message(FATAL_ERROR "missing after install: ${path}")
  endif()
endforeach()
# The program makes its Objects and Workspaces folders when it starts, where its user can write.
foreach(folder Objects Workspaces)
  if(EXISTS ${prefix}/${CMAKE_INSTALL_LIBDIR}/brondelwick/${folder})
    message(FATAL_ERROR "${folder} is installed beside the program, where its users cannot write")
  endif()
endforeach()
foreach(program brondelwick brondelwick-tool)
  if(NOT IS_SYMLINK ${prefix}/bin/${program})
    message(FATAL_ERROR "bin/${program} is not a link to the program")
  endif()
endforeach()
find_program(VALIDATE desktop-file-validate)
if(VALIDATE)
  execute_process(COMMAND ${VALIDATE} ${prefix}/share/applications/brondelwick.desktop RESULT_VARIABLE valid)
  if(NOT valid EQUAL 0)
    message(FATAL_ERROR "desktop-file-validate refused the desktop entry")
  endif()
else()
  message(STATUS "desktop-file-validate not installed; entry not validated")
endif()
find_program(APPSTREAMCLI appstreamcli)
if(NOT APPSTREAMCLI)
  message(FATAL_ERROR "appstreamcli is not installed: run scripts/install-deps appstream")
endif()
execute_process(COMMAND ${APPSTREAMCLI} validate --no-net --pedantic
                        ${prefix}/share/metainfo/org.brondelwick.brondelwick.metainfo.xml
                RESULT_VARIABLE valid OUTPUT_VARIABLE why ERROR_VARIABLE why)
if(NOT valid EQUAL 0 OR why MATCHES "(^|\n)[EWIP]: ")
  message(FATAL_ERROR "appstreamcli validate found fault with the AppStream file:\n${why}")
endif()
# What the installed completion offers for the words after the tool's name (the last one
# being completed), against what the tool's help lists.
function(expect_completion words expected)
  list(LENGTH words count)
  list(JOIN words " " typed)
  execute_process(COMMAND bash -c "source \"$0\"; COMP_WORDS=(\"$1\" ${typed}); COMP_CWORD=${count}; _brondelwick_tool; echo \"\${COMPREPLY[*]}\""
                          ${prefix}/share/bash-completion/completions/brondelwick-tool ${prefix}/bin/brondelwick-tool
                  OUTPUT_VARIABLE offered ERROR_VARIABLE why OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT offered STREQUAL expected)
    message(FATAL_ERROR "the completion of \"${typed}\" offered \"${offered}\", not ${expected}: ${why}")
  endif()
endfunction()
expect_completion("export;--p" "--prism")
expect_completion("export;--si" "--size")
expect_completion("import;--format;''" "svg dxf")
# The licence, GPL-3.0-or-later, said alike by the source's LICENSE, the installed copyright
# file and the AppStream file.
file(READ ${SOURCE_DIR}/LICENSE licence LIMIT 200)
if(NOT licence MATCHES "GNU GENERAL PUBLIC LICENSE[ \n]+Version 3, 29 June 2007")
  message(FATAL_ERROR "LICENSE does not hold the GNU General Public License, version 3")
endif()
file(READ ${prefix}/share/doc/brondelwick/copyright copyright)
if(NOT copyright MATCHES "Files: \\*\nCopyright: [^\n]+\nLicense: GPL-3\\+\n" OR NOT copyright MATCHES "/usr/share/common-licenses/GPL-3")
  message(FATAL_ERROR "the copyright file does not give the program's files under GPL-3+")
endif()
file(READ ${prefix}/share/metainfo/org.brondelwick.brondelwick.metainfo.xml metainfo)
if(NOT metainfo MATCHES "<project_license>GPL-3.0-or-later</project_license>")
  message(FATAL_ERROR "the AppStream file does not name GPL-3.0-or-later as the project's licence")
endif()
file(REMOVE_RECURSE ${prefix})
