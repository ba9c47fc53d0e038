# The real installer starting and stopping under Wine.
set(_setup_exe "${VELKARIS_OUT_DIR}/VelkarisSetup.exe")
velkaris_add_wine_test(NAME e2e.app_start_close
    COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/app_start_close.sh ${_setup_exe}
            ${CMAKE_BINARY_DIR}/e2e-screenshots)
velkaris_add_wine_test(NAME e2e.app_damaged_package
    COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/app_damaged_package.sh ${_setup_exe}
            ${VELKARIS_OUT_DIR}/velkaris.pkg)
