# The Windows tree: the sample pack, the package built from it, the installer, and the
# tests that run under Wine.
if(NOT VELKARIS_PACK_TOOL)
    message(FATAL_ERROR "VELKARIS_PACK_TOOL (the host package tool) is required")
endif()

add_library(lzma_mingw STATIC IMPORTED)
set_target_properties(lzma_mingw PROPERTIES
    IMPORTED_LOCATION "${VELKARIS_LZMA_MINGW_PREFIX}/lib/liblzma.a"
    INTERFACE_INCLUDE_DIRECTORIES "${VELKARIS_LZMA_MINGW_PREFIX}/include"
    INTERFACE_COMPILE_DEFINITIONS LZMA_API_STATIC)
add_library(LibLZMA::LibLZMA ALIAS lzma_mingw)

set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest "${CMAKE_BINARY_DIR}/googletest" EXCLUDE_FROM_ALL)

include(cmake/wine_harness.cmake)
include(cmake/shipped_programs.cmake)

# Everything of the installer but its entry point, so that Windows tests can link it.
add_library(velkaris_setup_core STATIC)
velkaris_windows_defaults(velkaris_setup_core)
target_include_directories(velkaris_setup_core PUBLIC ${PROJECT_SOURCE_DIR})

foreach(dir package pack resources setup app wizard install tests/win tests/e2e)
    if(EXISTS "${CMAKE_SOURCE_DIR}/${dir}/CMakeLists.txt")
        add_subdirectory(${dir})
    endif()
endforeach()
