# Makes the download (the build's `package` target) and unpacks it into a
# fresh folder, as a user would.
#   cmake -DBUILD_DIR=... -DPACKAGE=... -DDEST=... -P unpack_package.cmake
execute_process(COMMAND ${CMAKE_COMMAND} --build ${BUILD_DIR} --target package
                RESULT_VARIABLE made)
if(NOT made EQUAL 0)
  message(FATAL_ERROR "building the package failed")
endif()
file(REMOVE_RECURSE ${DEST})
file(MAKE_DIRECTORY ${DEST})
file(ARCHIVE_EXTRACT INPUT ${PACKAGE} DESTINATION ${DEST})
