# The wizard under Wine: pages, keys, colours, space figures and the folder browser, on the
# main window made from the real templates; the install steps are replaced by a recorder.
set(_wizard "${CMAKE_CURRENT_SOURCE_DIR}")
set(_wizard_window ${_wizard}/wizard_window.cpp ${_wizard}/app_test_setup.cpp
    ${_wizard}/app_recorded_steps.cpp)
velkaris_add_windows_gtest(wizard_pages_test ${_wizard}/wizard_pages_test.cpp
    ${_wizard}/wizard_colours_test.cpp ${_wizard}/wizard_licence_test.cpp ${_wizard_window}
    RESOURCES)
velkaris_add_windows_gtest(wizard_space_test ${_wizard}/wizard_space_test.cpp
    ${_wizard}/wizard_browse_script.cpp ${_wizard_window} RESOURCES)
velkaris_add_windows_gtest(wizard_browse_test ${_wizard}/wizard_browse_test.cpp
    ${_wizard}/wizard_browse_callback_test.cpp ${_wizard}/wizard_browse_script.cpp
    ${_wizard_window} RESOURCES)
