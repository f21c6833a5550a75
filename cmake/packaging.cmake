# The download for Windows users: `cmake --build --preset win64 --target
# package` makes kopiwell-VERSION-win64.zip (win32 for the i686 build)
# with the program, its help page and a short readme in one folder.
install(TARGETS kopiwell RUNTIME DESTINATION .)
install(FILES ${PROJECT_SOURCE_DIR}/res/kopiwell.html DESTINATION .)
configure_file(${PROJECT_SOURCE_DIR}/packaging/readme.txt.in ${PROJECT_BINARY_DIR}/readme.txt @ONLY
               NEWLINE_STYLE CRLF)
install(FILES ${PROJECT_BINARY_DIR}/readme.txt DESTINATION .)
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(KW_PACKAGE_ARCH win64)
else()
  set(KW_PACKAGE_ARCH win32)
endif()
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME kopiwell)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(KW_PACKAGE_NAME kopiwell-${PROJECT_VERSION}-${KW_PACKAGE_ARCH})
set(CPACK_PACKAGE_FILE_NAME ${KW_PACKAGE_NAME})
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
# Debugging information stays in the build; users get the small program.
set(CPACK_STRIP_FILES ON)
include(CPack)
