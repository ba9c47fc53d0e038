# The installation end to end: the real installer driven with key presses, its results read
# from the window, the disk and the registry, and compared with the package tool's extract.
# A full installation with the installer's choices is the checks folder's (tests/checks).
set(_install_args "${VELKARIS_OUT_DIR}/VelkarisSetup.exe" "${VELKARIS_PACK_TOOL}"
    "${VELKARIS_OUT_DIR}/velkaris.pkg" "${VELKARIS_WINDOW_PROBE}")
foreach(_test choices failures)
    velkaris_add_wine_test(NAME e2e.install_${_test}
        COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/install_${_test}.sh ${_install_args})
endforeach()
