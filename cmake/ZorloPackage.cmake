# The Debian package of the Linux console: `cpack -G DEB` in the build folder gives
# zorlo_<version>_amd64.deb, its dependencies found by dpkg-shlibdeps.
include(GNUInstallDirs)

# Installing and packaging take what is built (`--target zorlo` is enough)
# rather than building every test and benchmark first.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY TRUE)

# The licence and the changelog in the forms Debian reads them, made here from
# LICENSE and packaging/changelog.
set(ZORLO_PACKAGE_DOCS ${CMAKE_BINARY_DIR}/packaging)
file(MAKE_DIRECTORY ${ZORLO_PACKAGE_DOCS})
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/LICENSE ${CMAKE_SOURCE_DIR}/packaging/changelog)

file(STRINGS ${CMAKE_SOURCE_DIR}/packaging/changelog ZORLO_CHANGELOG_TOP LIMIT_COUNT 1)
if(NOT ZORLO_CHANGELOG_TOP MATCHES "^zorlo \\(${PROJECT_VERSION}\\) ")
  message(FATAL_ERROR "packaging/changelog does not begin with version ${PROJECT_VERSION}: "
                      "add an entry for it")
endif()
execute_process(
  COMMAND gzip -9 -n -c ${CMAKE_SOURCE_DIR}/packaging/changelog
  OUTPUT_FILE ${ZORLO_PACKAGE_DOCS}/changelog.gz
  RESULT_VARIABLE ZORLO_GZIP_RESULT)
if(NOT ZORLO_GZIP_RESULT EQUAL 0)
  message(FATAL_ERROR "gzip could not compress packaging/changelog")
endif()

# The licence's text after its copyright line, as the copyright file's
# indented body: blank lines become " .".
file(STRINGS ${CMAKE_SOURCE_DIR}/LICENSE ZORLO_LICENSE_LINES)
set(ZORLO_LICENSE_BODY "")
set(ZORLO_IN_BODY FALSE)
foreach(line IN LISTS ZORLO_LICENSE_LINES)
  if(line MATCHES "^Permission is hereby granted")
    set(ZORLO_IN_BODY TRUE)
  endif()
  if(ZORLO_IN_BODY)
    if(line STREQUAL "")
      string(APPEND ZORLO_LICENSE_BODY " .\n")
    else()
      string(APPEND ZORLO_LICENSE_BODY " ${line}\n")
    endif()
  endif()
endforeach()
file(WRITE ${ZORLO_PACKAGE_DOCS}/copyright
  "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n"
  "Upstream-Name: zorlo\n"
  "\n"
  "Files: *\n"
  "Copyright: 2026 The Zorlo Console authors\n"
  "License: Expat\n"
  "${ZORLO_LICENSE_BODY}")

install(FILES ${ZORLO_PACKAGE_DOCS}/copyright ${ZORLO_PACKAGE_DOCS}/changelog.gz
  DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/zorlo)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zorlo)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Zorlo Console authors")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "keyboard launcher called up by a hotkey")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "A global hotkey (F12 by default) shows a small console window. Typing the\n"
  "name of a macro opens the program, document, folder or web address that it\n"
  "names, with the other words as arguments. Completion from the macro names\n"
  "and the history, drag and drop to make macros, and plain text settings.")
string(CONCAT CPACK_DEBIAN_PACKAGE_DESCRIPTION ${CPACK_DEBIAN_PACKAGE_DESCRIPTION})
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "The Zorlo Console authors <zorlo-console@users.noreply.github.com>")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)
