# Windows tests run under Wine through scripts/wine/wine-run (the toolchain's emulator).
# The fixture "wine" makes the pristine prefix and the shared display before them.
set(VELKARIS_WINE_ROOT "${CMAKE_BINARY_DIR}/wine")
set(VELKARIS_WINE_FIXTURE "${PROJECT_SOURCE_DIR}/scripts/wine/wine-fixture")

# velkaris_add_wine_test(NAME name COMMAND target-or-program args...)
function(velkaris_add_wine_test)
    cmake_parse_arguments(ARG "" "NAME;TIMEOUT" "COMMAND" ${ARGN})
    add_test(NAME ${ARG_NAME} COMMAND ${ARG_COMMAND})
    if(NOT ARG_TIMEOUT)
        set(ARG_TIMEOUT 300)
    endif()
    set_tests_properties(${ARG_NAME} PROPERTIES
        FIXTURES_REQUIRED wine
        TIMEOUT ${ARG_TIMEOUT}
        ENVIRONMENT "VELKARIS_WINE_ROOT=${VELKARIS_WINE_ROOT};VELKARIS_WINDOW_PROBE=$<TARGET_FILE:window_probe>")
endfunction()

# velkaris_add_wine_fixture() adds the setup and cleanup tests; call it once, in tests/win.
function(velkaris_add_wine_fixture)
    add_test(NAME wine.setup COMMAND ${VELKARIS_WINE_FIXTURE} setup ${VELKARIS_WINE_ROOT})
    add_test(NAME wine.cleanup COMMAND ${VELKARIS_WINE_FIXTURE} cleanup ${VELKARIS_WINE_ROOT})
    set_tests_properties(wine.setup PROPERTIES FIXTURES_SETUP wine TIMEOUT 300)
    set_tests_properties(wine.cleanup PROPERTIES FIXTURES_CLEANUP wine)
endfunction()
