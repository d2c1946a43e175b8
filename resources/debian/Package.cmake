# The Debian package: `cpack -G DEB` in a build folder makes
# sigilscope_VERSION_amd64.deb (VERSION is the project's, from project())
# of what the install rules of the component "sigilscope" put in place: the
# two programs, stripped, and the desktop files of resources/linux and
# src/ui, installed under /usr whatever CMAKE_INSTALL_PREFIX the build was
# configured with. PreBuild.cmake then makes the staged tree a Debian one:
# manual pages gzipped, the copyright and the changelog in
# /usr/share/doc/sigilscope. The dependencies are those dpkg-shlibdeps (from
# dpkg-dev) finds for the programs, and a Japanese font. No maintainer
# scripts: the MIME database, the desktop entries' cache, the icon cache and
# the manual's index are brought up to date by the triggers of
# shared-mime-info, desktop-file-utils, hicolor-icon-theme and man-db.
set(SIGIL_DEB_MAINTAINER "The Sigilscope developers <maintainers@sigilscope.example.org>" CACHE STRING
    "The Maintainer field of the Debian package")

set(deb_src ${CMAKE_CURRENT_LIST_DIR})
set(deb_out ${CMAKE_BINARY_DIR}/debian)

# The copyright file in Debian's machine-readable format, its licence text
# taken from LICENSE so that the two cannot differ: every line indented by
# one space, an empty line written as " .".
file(READ ${CMAKE_SOURCE_DIR}/LICENSE license_text)
string(FIND "${license_text}" "Permission is hereby granted" license_start)
if(license_start LESS 0)
  message(FATAL_ERROR "LICENSE is no longer the MIT licence: update resources/debian/copyright.in")
endif()
string(SUBSTRING "${license_text}" ${license_start} -1 license_text)
string(STRIP "${license_text}" license_text)
string(REPLACE "\n\n" "\n.\n" license_text "${license_text}")
string(REPLACE "\n" "\n " SIGIL_DEB_LICENSE_TEXT "${license_text}")
set(SIGIL_DEB_LICENSE_TEXT " ${SIGIL_DEB_LICENSE_TEXT}")
configure_file(${deb_src}/copyright.in ${deb_out}/copyright @ONLY)
set_property(DIRECTORY ${CMAKE_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/LICENSE)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME sigilscope)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Sigilscope developers")
set(CPACK_PACKAGE_CONTACT "${SIGIL_DEB_MAINTAINER}")
set(CPACK_PACKAGE_HOMEPAGE_URL "${SIGIL_HOMEPAGE}")
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "icon viewer and icon library editor")
# Lines of at most 80 characters, as lintian asks; an empty line parts
# two paragraphs.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
  "Sigilscope shows every icon of icon libraries (.icl), programs and libraries"
  "(.exe, .dll), icon, cursor and animated cursor files, bitmaps, JPEG and PNG"
  "pictures, Mac icon files or whole folder trees in one scrolling grid, with"
  "every image (size and colour depth) of each icon. Icons can be collected,"
  "reordered, renamed and edited, and saved as an icon library or as single"
  "icon files. The interface is in Japanese by default."
  ""
  "The command-line tool sigil lists, extracts and packs icons, and draws the"
  "thumbnails with which file managers show icon libraries, cursors, programs"
  "and libraries by their own icons.")

# Only what the program installs: the build folder may also hold tests and
# benchmarks (CI packages its test build), which are of other components.
set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};${PROJECT_NAME};sigilscope;/")
# DESTDIR staging with /usr as the prefix, so that what the install writes
# at install time (the desktop entry's and the thumbnailer's paths) names
# /usr/bin, and the MIME database of the staging tree is not built.
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX /usr)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_PRE_BUILD_SCRIPTS ${deb_src}/PreBuild.cmake)
set(CPACK_SIGIL_DEB_COPYRIGHT ${deb_out}/copyright)
set(CPACK_SIGIL_DEB_CHANGELOG ${deb_src}/changelog)
set(CPACK_SIGIL_DEB_OVERRIDES ${deb_src}/lintian-overrides)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# A Japanese font: without one the interface, Japanese by default, shows
# empty boxes for its texts (dpkg-shlibdeps cannot know). Qt's own buttons
# and dialogs in Japanese come with its translations, without which they are
# in English: recommended.
# librsvg draws SVG inputs; sigil opens it only when it meets one, so the
# library scan cannot see it.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-noto-cjk | fonts-japanese-gothic, librsvg2-2")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)

include(CPack)
