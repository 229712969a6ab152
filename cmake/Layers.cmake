# Each layer is one static library made of the sources in its folder (portable) plus those
# in its platform subfolder: win/ in the Windows build, native/ in the native build.
# New files are picked up without editing CMake; re-run cmake (or build, which re-checks
# the globs) after adding one.
function(bistrope_layer target)
  file(GLOB _sources CONFIGURE_DEPENDS
       ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.c)
  if(BISTROPE_WINDOWS)
    file(GLOB _platform CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/win/*.cpp)
  else()
    file(GLOB _platform CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/native/*.cpp)
  endif()
  list(FILTER _sources EXCLUDE REGEX "/main\\.cpp$")
  add_library(${target} STATIC ${_sources} ${_platform} ${PROJECT_SOURCE_DIR}/cmake/empty.cpp)
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR})
endfunction()
