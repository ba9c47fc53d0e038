# The host tree: portable package code, the package tool, host tests. It then builds the
# Windows tree as an external project with the MinGW toolchain, handing it the tool.
find_package(LibLZMA REQUIRED)
find_package(GTest REQUIRED)

set(VELKARIS_7ZIP_LZMA_DIR "" CACHE PATH "7-Zip's LZMA encoder sources (scripts/fetch-7zip-lzma)")
if(NOT EXISTS "${VELKARIS_7ZIP_LZMA_DIR}/C/LzmaEnc.c")
    message(FATAL_ERROR "VELKARIS_7ZIP_LZMA_DIR does not hold 7-Zip's sources; configure through ./scripts/build")
endif()

add_subdirectory(package)
add_subdirectory(package/tool)
add_subdirectory(wizard)
add_subdirectory(tests/host)
add_subdirectory(bench)

set(VELKARIS_LZMA_MINGW_PREFIX "" CACHE PATH "Prefix of liblzma built for MinGW (scripts/setup)")
if(NOT VELKARIS_LZMA_MINGW_PREFIX)
    message(FATAL_ERROR "VELKARIS_LZMA_MINGW_PREFIX is not set; configure through ./scripts/build")
endif()

# Handed to the Windows tree, which builds the package with them (release builds: --best).
set(VELKARIS_PACK_BUILD_OPTIONS "" CACHE STRING
    "Options of 'velkaris-pack build' for the package, as on its command line")

include(ExternalProject)
set(VELKARIS_WINDOWS_BINARY_DIR "${CMAKE_BINARY_DIR}/windows")
ExternalProject_Add(windows
    SOURCE_DIR "${CMAKE_SOURCE_DIR}"
    BINARY_DIR "${VELKARIS_WINDOWS_BINARY_DIR}"
    CMAKE_GENERATOR Ninja
    CMAKE_ARGS
        --toolchain "${CMAKE_SOURCE_DIR}/cmake/mingw-w64-x86_64.cmake"
        -DCMAKE_BUILD_TYPE=${CMAKE_BUILD_TYPE}
        -DVELKARIS_OUT_DIR=${VELKARIS_OUT_DIR}
        -DVELKARIS_PACK_TOOL=$<TARGET_FILE:velkaris-pack>
        -DVELKARIS_LZMA_MINGW_PREFIX=${VELKARIS_LZMA_MINGW_PREFIX}
        "-DVELKARIS_PACK_BUILD_OPTIONS=${VELKARIS_PACK_BUILD_OPTIONS}"
        ${VELKARIS_RELEASE_ARGS}
    BUILD_ALWAYS ON
    INSTALL_COMMAND ""
    DEPENDS velkaris-pack
    USES_TERMINAL_CONFIGURE ON
    USES_TERMINAL_BUILD ON)

# velkaris_demo: only what scripts/demo runs (the package tool, then the Windows tree's
# velkaris_demo target), built in the same trees, so a later full build goes on from there.
ExternalProject_Add_Step(windows demo
    COMMAND ${CMAKE_COMMAND} --build <BINARY_DIR> --target velkaris_demo
    DEPENDEES configure
    ALWAYS ON
    EXCLUDE_FROM_MAIN ON
    USES_TERMINAL ON)
ExternalProject_Add_StepTargets(windows demo)
add_custom_target(velkaris_demo)
add_dependencies(velkaris_demo velkaris-pack windows-demo)
add_test(NAME host.demo_build COMMAND bash ${CMAKE_SOURCE_DIR}/tests/host/demo_build.sh
                                      ${CMAKE_BINARY_DIR} ${VELKARIS_WINDOWS_BINARY_DIR})

# One ctest run covers both trees: the Windows tree's test folders are included here.
set(_windows_tests "${CMAKE_BINARY_DIR}/windows_tests.cmake")
file(WRITE "${_windows_tests}" "")
foreach(dir tests/win tests/checks tests/e2e)
    file(APPEND "${_windows_tests}"
         "include(\"${VELKARIS_WINDOWS_BINARY_DIR}/${dir}/CTestTestfile.cmake\")\n")
endforeach()
set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES "${_windows_tests}")

# The fuzzers, built with clang after the Windows tree, whose package constants they use.
add_subdirectory(fuzz)
