# The Windows tree: the sample pack, the package built from it, the installer, and the
# tests that run under Wine. With VELKARIS_PUBLISHER_PACK_DIR set (scripts/build --pack), the
# pack is the publisher's licence and eight programs instead, and the tree holds only what
# ships: the uninstallers, the package and the installer, no tests.
if(NOT VELKARIS_PACK_TOOL)
    message(FATAL_ERROR "VELKARIS_PACK_TOOL (the host package tool) is required")
endif()
set(VELKARIS_PUBLISHER_PACK_DIR "" CACHE PATH
    "Folder of a publisher's licence.txt and eight programs, packed instead of the sample pack")

add_library(lzma_mingw STATIC IMPORTED)
set_target_properties(lzma_mingw PROPERTIES
    IMPORTED_LOCATION "${VELKARIS_LZMA_MINGW_PREFIX}/lib/liblzma.a"
    INTERFACE_INCLUDE_DIRECTORIES "${VELKARIS_LZMA_MINGW_PREFIX}/include"
    INTERFACE_COMPILE_DEFINITIONS LZMA_API_STATIC)
add_library(LibLZMA::LibLZMA ALIAS lzma_mingw)

if(NOT VELKARIS_PUBLISHER_PACK_DIR)
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest "${CMAKE_BINARY_DIR}/googletest" EXCLUDE_FROM_ALL)
endif()

include(cmake/wine_harness.cmake)
include(cmake/shipped_programs.cmake)

# Everything of the installer but its entry point, so that Windows tests can link it.
add_library(velkaris_setup_core STATIC)
velkaris_windows_defaults(velkaris_setup_core)
target_include_directories(velkaris_setup_core PUBLIC ${PROJECT_SOURCE_DIR})

set(_subdirectories package command_line pack resources setup app wizard install)
if(NOT VELKARIS_PUBLISHER_PACK_DIR)
    list(APPEND _subdirectories tests/win tests/checks tests/e2e)
endif()
foreach(dir ${_subdirectories})
    if(EXISTS "${CMAKE_SOURCE_DIR}/${dir}/CMakeLists.txt")
        add_subdirectory(${dir})
    endif()
endforeach()

# What scripts/demo runs: the shipped installer, built from the sample pack and its package,
# and the probe that reads the installer's window.
if(NOT VELKARIS_PUBLISHER_PACK_DIR)
    add_custom_target(velkaris_demo)
    add_dependencies(velkaris_demo VelkarisSetup_shipped window_probe)
endif()
