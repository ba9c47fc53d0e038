# The registered file types and verbs start the sample applications, as the shell would.
velkaris_add_wine_test(NAME e2e.shell_open
    COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/shell_open.sh "${VELKARIS_OUT_DIR}/VelkarisSetup.exe"
            "${VELKARIS_PACK_TOOL}" "${VELKARIS_OUT_DIR}/velkaris.pkg" "${VELKARIS_WINDOW_PROBE}"
            "$<TARGET_FILE:command_runner>")
