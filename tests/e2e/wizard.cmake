# The wizard driven with real key presses on the running installer.
set(_setup_exe "${VELKARIS_OUT_DIR}/VelkarisSetup.exe")
foreach(name wizard_keyboard_install wizard_browse wizard_long_folder)
    velkaris_add_wine_test(NAME e2e.${name}
        COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/${name}.sh ${_setup_exe})
endforeach()
