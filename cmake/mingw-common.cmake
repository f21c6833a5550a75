# The -posix compilers: GoogleTest needs std::mutex, which the win32
# thread model of the default MinGW compilers lacks.
set(CMAKE_C_COMPILER   ${KW_TOOLCHAIN_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KW_TOOLCHAIN_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER  ${KW_TOOLCHAIN_PREFIX}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${KW_TOOLCHAIN_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
