# The program folder: the executable beside its two templates, the sample
# normal-speech list and the player's read-me. `cmake --install` lays it out
# in the install prefix; cpack zips the same folder as Quillomi/.
set(readme Quillomi_はじめにお読みください.txt)
configure_file(${PROJECT_SOURCE_DIR}/data/${readme}.in ${PROJECT_BINARY_DIR}/${readme} @ONLY)

install(TARGETS Quillomi RUNTIME DESTINATION .)
install(FILES
  ${PROJECT_SOURCE_DIR}/data/Quillomi_Btn.dll
  ${PROJECT_SOURCE_DIR}/data/Quillomi_Lst.dll
  ${PROJECT_SOURCE_DIR}/data/QLMO_通常発言リスト.txt
  ${PROJECT_BINARY_DIR}/${readme}
  DESTINATION .)

if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(architecture win64)
else()
  set(architecture win32)
endif()
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_FILE_NAME Quillomi-${PROJECT_VERSION}-${architecture})
# The archive's top folder would carry the zip's name; players get Quillomi/.
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_PACKAGING_INSTALL_PREFIX /Quillomi)
include(CPack)
