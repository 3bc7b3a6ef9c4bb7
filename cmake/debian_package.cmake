# The Debian package that cpack makes from this build (scripts/package.sh):
# tellavin_VERSION-1_ARCH.deb with both programs in /usr/bin and everything
# else under /usr/share, its dependencies worked out from the libraries the
# programs link and from the packages that hold the Qt plugins the desktop
# program loads at run time.

# The package is named after the version the programs print.
file(STRINGS ${CMAKE_SOURCE_DIR}/src/core/model/product_info.h TELLAVIN_PRODUCT_VERSION_LINE
     REGEX "kProductVersion = ")
if(NOT TELLAVIN_PRODUCT_VERSION_LINE MATCHES "\"${PROJECT_VERSION}\"")
  message(FATAL_ERROR "The project's version ${PROJECT_VERSION} is not the programs' own: "
                      "${TELLAVIN_PRODUCT_VERSION_LINE}")
endif()

set(TELLAVIN_PACKAGE_REVISION 1)
set(TELLAVIN_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/tellavin)

# Debian's copyright file and its changelog, which names the version.
execute_process(COMMAND date --utc --rfc-email --date ${TELLAVIN_RELEASE_DATE}
                OUTPUT_VARIABLE TELLAVIN_RELEASE_CHANGELOG_DATE OUTPUT_STRIP_TRAILING_WHITESPACE
                COMMAND_ERROR_IS_FATAL ANY)
configure_file(${CMAKE_SOURCE_DIR}/resources/debian/changelog.in
               ${CMAKE_BINARY_DIR}/debian/changelog.Debian @ONLY)
find_program(TELLAVIN_GZIP gzip REQUIRED)
add_custom_command(
  OUTPUT ${CMAKE_BINARY_DIR}/debian/changelog.Debian.gz
  COMMAND ${TELLAVIN_GZIP} -9nkf ${CMAKE_BINARY_DIR}/debian/changelog.Debian
  DEPENDS ${CMAKE_BINARY_DIR}/debian/changelog.Debian
  COMMENT "Compressing the Debian changelog"
  VERBATIM)
add_custom_target(debian_changelog ALL DEPENDS ${CMAKE_BINARY_DIR}/debian/changelog.Debian.gz)
install(FILES ${CMAKE_SOURCE_DIR}/resources/debian/copyright
              ${CMAKE_BINARY_DIR}/debian/changelog.Debian.gz
        DESTINATION ${TELLAVIN_DOC_DIR})

# The Qt plugins the desktop program loads: the X11 platform, the image
# formats of the icons it shows (shortcut icons, its own SVG pictures) and
# the SVG icon engine. Each is required through the package that holds it
# on the build machine.
set(TELLAVIN_QT_PLUGINS
  platforms/libqxcb.so
  imageformats/libqico.so imageformats/libqgif.so imageformats/libqjpeg.so
  imageformats/libqsvg.so iconengines/libqsvgicon.so)
set(CPACK_TELLAVIN_PLUGIN_PACKAGES)
set(CPACK_TELLAVIN_PROGRAMS ${CMAKE_BINARY_DIR}/bin/tellavin-cli)
if(TELLAVIN_BUILD_GUI)
  find_package(Qt6 REQUIRED COMPONENTS Core)
  foreach(plugin IN LISTS TELLAVIN_QT_PLUGINS)
    set(path ${QT6_INSTALL_PREFIX}/${QT6_INSTALL_PLUGINS}/${plugin})
    execute_process(COMMAND dpkg-query --search ${path}
                    OUTPUT_VARIABLE owner RESULT_VARIABLE found OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT found EQUAL 0)
      message(FATAL_ERROR "No package holds the Qt plugin ${path}")
    endif()
    string(REGEX REPLACE ":.*" "" owner "${owner}")
    list(APPEND CPACK_TELLAVIN_PLUGIN_PACKAGES ${owner})
  endforeach()
  list(REMOVE_DUPLICATES CPACK_TELLAVIN_PLUGIN_PACKAGES)
  list(APPEND CPACK_TELLAVIN_PROGRAMS ${CMAKE_BINARY_DIR}/bin/tellavin)
endif()
# The Depends line is made when cpack runs, from the built programs.
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_SOURCE_DIR}/cmake/debian_depends.cmake)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tellavin)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_CONTACT "Tellavin developers <tellavin@tellavin.example>")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${CPACK_PACKAGE_CONTACT})
set(CPACK_DEBIAN_PACKAGE_RELEASE ${TELLAVIN_PACKAGE_REVISION})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${TELLAVIN_HOME_PAGE})
# The synopsis, then the long description; cpack indents its lines and
# marks the empty line between paragraphs.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION [=[move web bookmarks between browsers and a menu page
Tellavin moves web bookmarks between an Internet Explorer Favorites folder
(a tree of .url files), a Netscape-format bookmarks.html (what Firefox and
Chromium import and export) and a legacy Opera hotlist, in all six
directions, and reads Firefox's places.sqlite and the Bookmarks file of
Chromium, Google Chrome, Microsoft Edge, Brave and Vivaldi.

It finds the stores on the machine, lets you pick folders and links, merges
into or replaces a target, makes a backup, and publishes any store as a
self-contained HTML page with a cascading popup menu. The package holds the
desktop program tellavin and the command line tellavin-cli.]=])
# Every folder and file as Debian wants them, whatever the umask of the
# build.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS ${CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS})
include(CPack)
