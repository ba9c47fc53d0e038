# Windows tests run under Wine through scripts/wine/wine-run (the toolchain's emulator), once
# under each runtime: the host's Wine 8 and Debian 13's Wine 10 in its private root
# (scripts/wine/enter-runtime). Each runtime has its own pristine prefix and display, made by
# its fixture; each test's name ends in its runtime, which is also its label (ctest -L wine10).
set(VELKARIS_RUNTIMES wine8 wine10)
set(VELKARIS_WINE_FIXTURE "${PROJECT_SOURCE_DIR}/scripts/wine/wine-fixture")
set(VELKARIS_ENTER_RUNTIME "${PROJECT_SOURCE_DIR}/scripts/wine/enter-runtime")
get_filename_component(VELKARIS_BUILD_TREE "${CMAKE_BINARY_DIR}" DIRECTORY)

# velkaris_wine_root(RUNTIME VAR): the folder of RUNTIME's pristine prefix and display.
function(velkaris_wine_root runtime var)
    if(runtime STREQUAL "wine8")
        set(${var} "${CMAKE_BINARY_DIR}/wine" PARENT_SCOPE)
    else()
        set(${var} "${CMAKE_BINARY_DIR}/${runtime}" PARENT_SCOPE)
    endif()
endfunction()

# velkaris_add_wine_test(NAME name COMMAND target-or-program args...)
function(velkaris_add_wine_test)
    cmake_parse_arguments(ARG "" "NAME;TIMEOUT" "COMMAND" ${ARGN})
    if(NOT ARG_TIMEOUT)
        set(ARG_TIMEOUT 300)
    endif()
    # The command no longer starts with the target once enter-runtime comes first, so a
    # test program's emulator is named here.
    list(GET ARG_COMMAND 0 program)
    if(TARGET ${program})
        list(REMOVE_AT ARG_COMMAND 0)
        list(PREPEND ARG_COMMAND ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:${program}>)
    endif()
    foreach(runtime ${VELKARIS_RUNTIMES})
        velkaris_wine_root(${runtime} root)
        add_test(NAME ${ARG_NAME}.${runtime}
                 COMMAND ${VELKARIS_ENTER_RUNTIME} ${runtime} -- ${ARG_COMMAND})
        set_tests_properties(${ARG_NAME}.${runtime} PROPERTIES
            FIXTURES_REQUIRED ${runtime}
            LABELS ${runtime}
            TIMEOUT ${ARG_TIMEOUT}
            ENVIRONMENT "VELKARIS_RUNTIME=${runtime};VELKARIS_WINE_ROOT=${root};VELKARIS_BUILD_TREE=${VELKARIS_BUILD_TREE};VELKARIS_WINDOW_PROBE=$<TARGET_FILE:window_probe>")
    endforeach()
endfunction()

# velkaris_add_wine_fixture() adds each runtime's setup and cleanup tests; call it once, in
# tests/win.
function(velkaris_add_wine_fixture)
    foreach(runtime ${VELKARIS_RUNTIMES})
        velkaris_wine_root(${runtime} root)
        set(enter ${VELKARIS_ENTER_RUNTIME} ${runtime} --)
        add_test(NAME wine.setup.${runtime} COMMAND ${enter} ${VELKARIS_WINE_FIXTURE} setup ${root})
        add_test(NAME wine.cleanup.${runtime} COMMAND ${enter} ${VELKARIS_WINE_FIXTURE} cleanup ${root})
        set_tests_properties(wine.setup.${runtime} PROPERTIES
            FIXTURES_SETUP ${runtime} LABELS ${runtime} TIMEOUT 300
            ENVIRONMENT "VELKARIS_BUILD_TREE=${VELKARIS_BUILD_TREE}")
        set_tests_properties(wine.cleanup.${runtime} PROPERTIES
            FIXTURES_CLEANUP ${runtime} LABELS ${runtime}
            ENVIRONMENT "VELKARIS_BUILD_TREE=${VELKARIS_BUILD_TREE}")
    endforeach()
endfunction()
