# The Windows checks folder and the end-to-end tests run under Wine, once under each runtime:
# the host's Wine 8 and Debian 13's Wine 10 in its private root (scripts/wine/enter-runtime). Every Windows and end-to-end test runs inside
# scripts/wine/sandbox, which ends all it started, Xvfb and wineserver included, even when
# CTest kills the test. Each runtime has its own pristine prefix, made by its fixture; each
# test's name ends in its runtime, which is also its label (ctest -L wine10).
set(VELKARIS_RUNTIMES wine8 wine10)
set(VELKARIS_WINE_FIXTURE "${PROJECT_SOURCE_DIR}/scripts/wine/wine-fixture")
set(VELKARIS_SANDBOX "${PROJECT_SOURCE_DIR}/scripts/wine/sandbox")
set(VELKARIS_ENTER_RUNTIME "${PROJECT_SOURCE_DIR}/scripts/wine/enter-runtime")
get_filename_component(VELKARIS_BUILD_TREE "${CMAKE_BINARY_DIR}" DIRECTORY)

# velkaris_wine_root(RUNTIME VAR): the folder of RUNTIME's pristine prefix.
function(velkaris_wine_root runtime var)
    if(runtime STREQUAL "wine8")
        set(${var} "${CMAKE_BINARY_DIR}/wine" PARENT_SCOPE)
    else()
        set(${var} "${CMAKE_BINARY_DIR}/${runtime}" PARENT_SCOPE)
    endif()
endfunction()

# velkaris_add_wine_test(NAME name [TIMEOUT seconds] [RUNTIMES runtime...] COMMAND program args...)
# The command runs in the sandbox, whose deadline ends the test 15 s before CTest would.
# RUNTIMES narrows a test to some runtimes (all by default).
function(velkaris_add_wine_test)
    cmake_parse_arguments(ARG "" "NAME;TIMEOUT" "COMMAND;RUNTIMES" ${ARGN})
    if(NOT ARG_TIMEOUT)
        set(ARG_TIMEOUT 300)
    endif()
    if(NOT ARG_RUNTIMES)
        set(ARG_RUNTIMES ${VELKARIS_RUNTIMES})
    endif()
    math(EXPR _deadline "${ARG_TIMEOUT} - 15")
    foreach(runtime ${ARG_RUNTIMES})
        velkaris_wine_root(${runtime} root)
        add_test(NAME ${ARG_NAME}.${runtime}
            COMMAND ${VELKARIS_SANDBOX} --deadline ${_deadline} --
                    ${VELKARIS_ENTER_RUNTIME} ${runtime} -- ${ARG_COMMAND})
        set(_environment "VELKARIS_RUNTIME=${runtime}" "VELKARIS_WINE_ROOT=${root}"
            "VELKARIS_BUILD_TREE=${VELKARIS_BUILD_TREE}"
            "VELKARIS_WINDOW_PROBE=$<TARGET_FILE:window_probe>")
        set_tests_properties(${ARG_NAME}.${runtime} PROPERTIES
            FIXTURES_REQUIRED ${runtime}
            LABELS ${runtime}
            TIMEOUT ${ARG_TIMEOUT}
            ENVIRONMENT "${_environment}")
    endforeach()
endfunction()

# velkaris_add_wine_fixture() adds each runtime's test that makes its pristine prefix; call it
# once, in tests/win.
function(velkaris_add_wine_fixture)
    foreach(runtime ${VELKARIS_RUNTIMES})
        velkaris_wine_root(${runtime} root)
        add_test(NAME wine.setup.${runtime}
            COMMAND ${VELKARIS_SANDBOX} --deadline 285 --
                    ${VELKARIS_ENTER_RUNTIME} ${runtime} -- ${VELKARIS_WINE_FIXTURE} ${root})
        set_tests_properties(wine.setup.${runtime} PROPERTIES
            FIXTURES_SETUP ${runtime} LABELS ${runtime} TIMEOUT 300
            ENVIRONMENT "VELKARIS_BUILD_TREE=${VELKARIS_BUILD_TREE}")
    endforeach()
endfunction()
