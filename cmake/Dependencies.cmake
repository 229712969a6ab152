# Third-party libraries, all from Debian's packages.
#
#   bistrope::jpeg   libjpeg-turbo: Debian's libjpeg62-turbo natively; for Windows a static
#                    library that scripts/build-libjpeg-win64.sh builds from Debian's source
#                    package into a cache (BISTROPE_DEPS_CACHE, default: inside the build tree).
#   GTest::gtest     GoogleTest, built from Debian's sources in /usr/src/googletest.

if(BISTROPE_WINDOWS)
  if(DEFINED ENV{BISTROPE_DEPS_CACHE})
    set(_deps_default "$ENV{BISTROPE_DEPS_CACHE}")
  else()
    set(_deps_default "${CMAKE_BINARY_DIR}/_deps")
  endif()
  set(BISTROPE_DEPS_CACHE "${_deps_default}" CACHE PATH "Where the Windows build keeps libraries it builds itself")
  set(_jpeg_prefix "${BISTROPE_DEPS_CACHE}/libjpeg-turbo-win64")
  if(NOT EXISTS "${_jpeg_prefix}/lib/libjpeg.a")
    message(STATUS "Building libjpeg-turbo for Windows into ${_jpeg_prefix} (once)")
    execute_process(
      COMMAND bash "${CMAKE_SOURCE_DIR}/scripts/build-libjpeg-win64.sh" "${_jpeg_prefix}"
              "${CMAKE_SOURCE_DIR}/cmake/toolchain-mingw64.cmake"
      RESULT_VARIABLE _jpeg_rc)
    if(NOT _jpeg_rc EQUAL 0 OR NOT EXISTS "${_jpeg_prefix}/lib/libjpeg.a")
      message(FATAL_ERROR "Could not build libjpeg-turbo for Windows (see the output above)")
    endif()
  endif()
  add_library(bistrope::jpeg STATIC IMPORTED GLOBAL)
  set_target_properties(bistrope::jpeg PROPERTIES
    IMPORTED_LOCATION "${_jpeg_prefix}/lib/libjpeg.a"
    INTERFACE_INCLUDE_DIRECTORIES "${_jpeg_prefix}/include")
else()
  find_package(JPEG REQUIRED)
  add_library(bistrope::jpeg INTERFACE IMPORTED GLOBAL)
  target_link_libraries(bistrope::jpeg INTERFACE JPEG::JPEG)
endif()

if(BISTROPE_BUILD_TESTS)
  set(_gtest_src /usr/src/googletest)
  if(NOT EXISTS "${_gtest_src}/CMakeLists.txt")
    message(FATAL_ERROR "GoogleTest sources not found in ${_gtest_src}: run scripts/setup.sh")
  endif()
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
  add_subdirectory(${_gtest_src} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
endif()
