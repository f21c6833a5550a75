# Cross-compiles Kopiwell for 64-bit Windows with MinGW-w64 on Linux.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(KW_TOOLCHAIN_PREFIX x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
# ctest runs the Windows tests through Wine. scripts/test.sh passes the
# scripts' KW_WINE (scripts/lib.sh), so that the scripts and the tests
# start the same Wine.
set(KW_WINE /usr/lib/wine/wine64 CACHE FILEPATH "The Wine loader that runs the Windows tests")
set(CMAKE_CROSSCOMPILING_EMULATOR ${KW_WINE})
