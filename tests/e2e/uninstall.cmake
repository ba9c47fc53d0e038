# The uninstaller end to end: the real installer installs everything, the installed
# uninstall.exe removes it, the user's next logon is played as far as the per-user RunOnce
# key goes, and the prefix is compared with its state before.
set(_uninstall_args "${VELKARIS_OUT_DIR}/VelkarisSetup.exe" "${VELKARIS_WINDOW_PROBE}"
    $<TARGET_FILE:command_runner>)
# A clean removal, and removals beside programs that hold what it removes, are the checks
# folder's (tests/checks), on Windows as under Wine.
foreach(_test confirm other_drive taken_over user_files)
    velkaris_add_wine_test(NAME e2e.uninstall_${_test}
        COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/uninstall_${_test}.sh ${_uninstall_args})
endforeach()

# Starts a copy of the uninstaller in its helper mode with handles that another program lends.
add_executable(handle_lender handle_lender.cpp)
velkaris_target_defaults(handle_lender)
target_compile_definitions(handle_lender PRIVATE UNICODE _UNICODE)
target_link_options(handle_lender PRIVATE -static -municode)

velkaris_add_wine_test(NAME e2e.uninstall_refusals
    COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/uninstall_refusals.sh ${_uninstall_args}
            "${VELKARIS_OUT_DIR}/pack" $<TARGET_FILE:handle_lender>)

# The shipped uninstaller's imports, read with objdump.
add_test(NAME e2e.uninstall_imports
    COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/uninstall_imports.sh
            "${VELKARIS_OUT_DIR}/pack/uninstall.exe" ${CMAKE_OBJDUMP})
