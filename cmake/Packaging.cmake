# Install rules and CPack settings (scripts/package.sh drives them):
#   win64 build   the zip Bistrope-<version>-win64.zip: the program, its toolbar strip,
#                 bistrope-cli.exe, README.txt and the licences of what the program links
#                 statically; the NSIS installer (packaging/bistrope.nsi) is made from the
#                 zip's files
#   native build  the Debian package bistrope-cli_<version>_<arch>.deb
set(CPACK_PACKAGE_VENDOR "${BISTROPE_PUBLISHER}")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_STRIP_FILES ON)

if(BISTROPE_WINDOWS)
  install(TARGETS Bistrope bistrope-cli RUNTIME DESTINATION .)
  install(FILES ${PROJECT_SOURCE_DIR}/resources/art/Bistrope.dll DESTINATION .)
  configure_file(${PROJECT_SOURCE_DIR}/packaging/README.txt.in ${CMAKE_BINARY_DIR}/packaging/README.txt @ONLY
                 NEWLINE_STYLE CRLF)
  install(FILES ${CMAKE_BINARY_DIR}/packaging/README.txt DESTINATION .)
  # Linked statically (-static, see CMakeLists.txt): libjpeg-turbo, built from Debian's
  # source package; libstdc++ and libgcc (GCC's runtime library exception); the mingw-w64
  # runtime and winpthreads. Their texts are the Debian packages' copyright files.
  foreach(_licence "libjpeg-turbo=libjpeg62-turbo" "gcc-runtime=gcc-mingw-w64-base"
                   "mingw-w64-runtime=mingw-w64-x86-64-dev")
    string(REPLACE "=" ";" _licence "${_licence}")
    list(GET _licence 0 _name)
    list(GET _licence 1 _package)
    set(_copyright /usr/share/doc/${_package}/copyright)
    if(NOT EXISTS ${_copyright})
      message(FATAL_ERROR "${_copyright} is missing: run scripts/setup.sh")
    endif()
    install(FILES ${_copyright} DESTINATION licences RENAME ${_name}.txt)
  endforeach()
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_NAME Bistrope)
  set(CPACK_PACKAGE_FILE_NAME "Bistrope-${PROJECT_VERSION}-win64")
else()
  include(GNUInstallDirs)
  install(TARGETS bistrope-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/bistrope-cli)
  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGE_NAME bistrope-cli)
  set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "red/cyan anaglyph JPEGs from stereo pairs (command line)")
  set(CPACK_PACKAGE_DESCRIPTION
      "bistrope-cli turns a stereo pair (two images, an MPO file or a side-by-side picture) into a\nred/cyan anaglyph JPEG, with the colour-blending modes and alignment of the Bistrope program.")
  set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${BISTROPE_PUBLISHER}")
  set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  # Depends: computed by dpkg-shlibdeps from the libraries the binary links.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
endif()
include(CPack)
