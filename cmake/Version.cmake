# The version's one home is project(VERSION) in the top CMakeLists.txt. From it come:
#   base/version.h        generated into the build tree: BISTROPE_VERSION, BISTROPE_TITLE and
#                         the rest, for the code and the resource scripts (window title, about box)
#   bistrope.manifest     generated beside it (resources/): the program's assembly version
#   VERSIONINFO           bistrope_version_resource() gives a Windows executable its version
#                         resource (product, version, publisher)
#   the packages          CPack's names and versions (cmake/Packaging.cmake); scripts/package.sh
#                         passes the version to the installer script (makensis -DVERSION)
set(BISTROPE_PUBLISHER "Renvik")
set(BISTROPE_GENERATED_DIR ${CMAKE_BINARY_DIR}/generated)
configure_file(${CMAKE_CURRENT_LIST_DIR}/version.h.in ${BISTROPE_GENERATED_DIR}/base/version.h @ONLY)
# resources/manifest.rc finds it through the generated folder, which is on the include path.
configure_file(${PROJECT_SOURCE_DIR}/resources/bistrope.manifest.in
               ${BISTROPE_GENERATED_DIR}/resources/bistrope.manifest @ONLY)

# target: a Windows executable; description: its FileDescription.
function(bistrope_version_resource target description)
  set(BISTROPE_FILE_DESCRIPTION "${description}")
  set(BISTROPE_FILE_NAME "${target}.exe")
  configure_file(${PROJECT_SOURCE_DIR}/resources/version.rc.in
                 ${CMAKE_CURRENT_BINARY_DIR}/${target}_version.rc @ONLY)
  target_sources(${target} PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/${target}_version.rc)
endfunction()
