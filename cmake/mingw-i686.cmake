# Cross-compiles Kopiwell for 32-bit Windows. Compiled and linked only:
# this machine has no 32-bit Wine, which would exit 0 after an error
# and make every test look passed.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(KW_TOOLCHAIN_PREFIX i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
