# The Debian package (scripts/package.sh): the programs, the desktop entry and icons that the
# install rules already place, the manual pages, and the files Debian wants beside them. CPack
# builds every target before packing, so the package is made from a build folder configured
# with IW_WITH_TESTS=OFF and IW_WITH_BENCH=OFF.

set(IW_DOC_DIR ${CMAKE_BINARY_DIR}/package-docs)
file(MAKE_DIRECTORY ${IW_DOC_DIR})

# The manual of iconwright-cli is made from its own --help, so that the two never disagree.
# The window's short manual is kept as a page of its own. Debian wants them compressed, with no
# time stamp inside (gzip -n), so that the same sources give the same package.
find_program(IW_GZIP gzip REQUIRED)
find_program(IW_AWK awk REQUIRED)
add_custom_command(OUTPUT ${IW_DOC_DIR}/iconwright-cli.1.gz
  COMMAND $<TARGET_FILE:iconwright-cli> --help > iconwright-cli.help
  COMMAND $<TARGET_FILE:iconwright-cli> --version > iconwright-cli.version
  COMMAND sh -c "${IW_AWK} -v version=\"$(cat iconwright-cli.version)\" -f ${PROJECT_SOURCE_DIR}/resources/debian/manpage.awk iconwright-cli.help | ${IW_GZIP} -9n > iconwright-cli.1.gz"
  WORKING_DIRECTORY ${IW_DOC_DIR}
  DEPENDS iconwright-cli ${PROJECT_SOURCE_DIR}/resources/debian/manpage.awk
  COMMENT "Making iconwright-cli's manual page from its --help"
  VERBATIM)
configure_file(resources/debian/iconwright.1.in ${IW_DOC_DIR}/iconwright.1 @ONLY)
configure_file(resources/debian/changelog.in ${IW_DOC_DIR}/changelog @ONLY)
add_custom_command(OUTPUT ${IW_DOC_DIR}/iconwright.1.gz ${IW_DOC_DIR}/changelog.gz
  COMMAND ${IW_GZIP} -9nkf iconwright.1 changelog
  WORKING_DIRECTORY ${IW_DOC_DIR}
  DEPENDS ${IW_DOC_DIR}/iconwright.1 ${IW_DOC_DIR}/changelog
  VERBATIM)
add_custom_target(iw_package_docs ALL
  DEPENDS ${IW_DOC_DIR}/iconwright-cli.1.gz ${IW_DOC_DIR}/iconwright.1.gz ${IW_DOC_DIR}/changelog.gz)

# The copyright file: ours, then the notices of the libraries iconwright-cli holds, as Debian
# ships them with the archives that are linked in.
set(IW_COPYRIGHT_SOURCES
  ${IW_SPNG_SOURCE_DIR}/debian/copyright
  /usr/share/doc/libturbojpeg0-dev/copyright
  /usr/share/doc/zlib1g/copyright)
file(READ resources/debian/copyright.head copyright_text)
foreach(notice IN ITEMS libspng libjpeg-turbo zlib)
  list(POP_FRONT IW_COPYRIGHT_SOURCES source)
  if(NOT EXISTS ${source})
    message(FATAL_ERROR "The copyright notice of ${notice} is not at ${source}")
  endif()
  file(READ ${source} notice_text)
  string(APPEND copyright_text "\n---------------------------------------------------------------------------\n"
                               "${notice}\n\n${notice_text}")
endforeach()
file(WRITE ${IW_DOC_DIR}/copyright "${copyright_text}")

install(FILES ${IW_DOC_DIR}/iconwright-cli.1.gz DESTINATION share/man/man1)
install(FILES ${IW_DOC_DIR}/copyright ${IW_DOC_DIR}/changelog.gz DESTINATION share/doc/iconwright)
if(IW_WITH_QT)
  install(FILES ${IW_DOC_DIR}/iconwright.1.gz DESTINATION share/man/man1)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME iconwright)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR ORBIT)
set(CPACK_PACKAGE_CONTACT "Ren Halloway <ren.halloway@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "build-menu icon maker for the game's units")
set(CPACK_PACKAGE_DESCRIPTION
  "Iconwright makes the build-menu icon of a unit for the real-time strategy\n"
  "game TA: one GAF file holding the unit's normal, highlighted and disabled\n"
  "pictures, 64 x 64 pixels each, in the game's 256-colour palette. The\n"
  "pictures are edited at 96 x 96 in a small window (iconwright), or from\n"
  "scripts with iconwright-cli, which also imports PNG and JPEG pictures of\n"
  "any size onto the game palette and lists and extracts the frames of any\n"
  "GAF file.")
string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)  # iconwright_<version>_<architecture>.deb
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.example.org/orbit/")
# The dependencies are those of the installed programs' shared libraries, found by dpkg-shlibdeps.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR})
include(CPack)
