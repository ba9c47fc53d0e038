# Windows tests run under Wine through scripts/wine/wine-run (the toolchain's emulator);
# every Windows and end-to-end test runs inside scripts/wine/sandbox, which ends all it
# started, Xvfb and wineserver included, even when CTest kills the test. The fixture "wine"
# makes the pristine prefix before them.
set(VELKARIS_WINE_ROOT "${CMAKE_BINARY_DIR}/wine")
set(VELKARIS_WINE_FIXTURE "${PROJECT_SOURCE_DIR}/scripts/wine/wine-fixture")
set(VELKARIS_SANDBOX "${PROJECT_SOURCE_DIR}/scripts/wine/sandbox")

# velkaris_add_wine_test(NAME name [TIMEOUT seconds] COMMAND program args...)
# A Windows program is named with its emulator: the sandbox comes first on the command line,
# so CTest does not add it. The sandbox's deadline ends the test 15 s before CTest would.
function(velkaris_add_wine_test)
    cmake_parse_arguments(ARG "" "NAME;TIMEOUT" "COMMAND" ${ARGN})
    if(NOT ARG_TIMEOUT)
        set(ARG_TIMEOUT 300)
    endif()
    math(EXPR _deadline "${ARG_TIMEOUT} - 15")
    add_test(NAME ${ARG_NAME}
        COMMAND ${VELKARIS_SANDBOX} --deadline ${_deadline} -- ${ARG_COMMAND})
    set(_environment "VELKARIS_WINE_ROOT=${VELKARIS_WINE_ROOT}"
        "VELKARIS_WINDOW_PROBE=$<TARGET_FILE:window_probe>")
    set_tests_properties(${ARG_NAME} PROPERTIES
        FIXTURES_REQUIRED wine
        TIMEOUT ${ARG_TIMEOUT}
        ENVIRONMENT "${_environment}")
endfunction()

# velkaris_add_wine_fixture() adds the test that makes the pristine prefix; call it once, in
# tests/win.
function(velkaris_add_wine_fixture)
    add_test(NAME wine.setup
        COMMAND ${VELKARIS_SANDBOX} --deadline 285 --
                ${VELKARIS_WINE_FIXTURE} ${VELKARIS_WINE_ROOT})
    set_tests_properties(wine.setup PROPERTIES FIXTURES_SETUP wine TIMEOUT 300)
endfunction()
