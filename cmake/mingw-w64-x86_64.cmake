# Cross-compiles for 64-bit Windows with MinGW-w64 (posix threads flavour).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(_triple x86_64-w64-mingw32)
find_program(CMAKE_C_COMPILER ${_triple}-gcc-posix)
find_program(CMAKE_CXX_COMPILER ${_triple}-g++-posix)
find_program(CMAKE_RC_COMPILER ${_triple}-windres)
if(NOT CMAKE_C_COMPILER OR NOT CMAKE_CXX_COMPILER OR NOT CMAKE_RC_COMPILER)
    message(FATAL_ERROR "MinGW-w64 compilers not found (${_triple}-g++-posix, ${_triple}-windres); "
                        "run ./scripts/setup")
endif()

set(CMAKE_FIND_ROOT_PATH /usr/${_triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
