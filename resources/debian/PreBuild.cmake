# Run by cpack (CPACK_PRE_BUILD_SCRIPTS) on the staged tree of the Debian
# package, before the package is made of it: the programs without the
# sections Debian strips, the manual pages gzipped, and the copyright, the
# changelog and lintian's overrides put where Debian keeps them. The
# changelog's latest entry must be of the package's version.
set(root "${CPACK_TEMPORARY_INSTALL_DIRECTORY}")
set(usr "${root}${CPACK_PACKAGING_INSTALL_PREFIX}")
if(NOT IS_DIRECTORY "${usr}/bin")
  message(FATAL_ERROR "PreBuild: no ${usr}/bin in the staged tree")
endif()

find_program(GZIP gzip REQUIRED)
# gzip -9n: the highest compression, and no name or time stamp in the
# header, so that the same page makes the same file.
function(sigil_gzip file)
  execute_process(COMMAND "${GZIP}" -9nf "${file}" RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "PreBuild: gzip ${file} failed")
  endif()
endfunction()

# The programs are stripped already (CPACK_STRIP_FILES); the sections that
# dh_strip also removes go too.
find_program(STRIP strip REQUIRED)
file(GLOB programs "${usr}/bin/*")
foreach(program IN LISTS programs)
  execute_process(COMMAND "${STRIP}" --remove-section=.comment --remove-section=.note "${program}"
                  RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "PreBuild: strip ${program} failed")
  endif()
endforeach()

file(GLOB_RECURSE pages "${usr}/share/man/*")
foreach(page IN LISTS pages)
  if(NOT page MATCHES "\\.gz$")
    sigil_gzip("${page}")
  endif()
endforeach()

file(STRINGS "${CPACK_SIGIL_DEB_CHANGELOG}" top LIMIT_COUNT 1)
if(NOT top MATCHES "^${CPACK_PACKAGE_NAME} \\(${CPACK_PACKAGE_VERSION}\\) ")
  message(FATAL_ERROR "PreBuild: the latest entry of ${CPACK_SIGIL_DEB_CHANGELOG} is '${top}', "
                      "not of version ${CPACK_PACKAGE_VERSION}: add an entry for it")
endif()

set(doc "${usr}/share/doc/${CPACK_PACKAGE_NAME}")
# file(COPY), not file(INSTALL), which would add cpack's DESTDIR once more.
set(read_write FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
file(COPY "${CPACK_SIGIL_DEB_COPYRIGHT}" DESTINATION "${doc}" ${read_write})
# A native package (its version has no Debian revision): changelog.gz.
file(COPY "${CPACK_SIGIL_DEB_CHANGELOG}" DESTINATION "${doc}" ${read_write})
sigil_gzip("${doc}/changelog")
if(EXISTS "${CPACK_SIGIL_DEB_OVERRIDES}")
  set(overrides "${usr}/share/lintian/overrides")
  file(COPY "${CPACK_SIGIL_DEB_OVERRIDES}" DESTINATION "${overrides}" ${read_write})
  get_filename_component(name "${CPACK_SIGIL_DEB_OVERRIDES}" NAME)
  file(RENAME "${overrides}/${name}" "${overrides}/${CPACK_PACKAGE_NAME}")
endif()
