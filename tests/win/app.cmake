# The setup shell: path helpers, start-up defaults, the main window and its scheduler.
set(_app "${CMAKE_CURRENT_SOURCE_DIR}")
velkaris_add_windows_gtest(app_paths_test ${_app}/app_paths_test.cpp)
velkaris_add_windows_gtest(app_load_defaults_test ${_app}/app_load_defaults_test.cpp
    ${_app}/app_test_setup.cpp RESOURCES)
velkaris_add_windows_gtest(app_main_window_test ${_app}/app_main_window_test.cpp
    ${_app}/app_dpi_test.cpp ${_app}/wizard_window.cpp ${_app}/resources_dialog_template.cpp
    ${_app}/app_test_setup.cpp ${_app}/app_recorded_steps.cpp RESOURCES)
velkaris_add_windows_gtest(app_timer_failure_test ${_app}/app_timer_failure_test.cpp
    ${_app}/app_test_setup.cpp ${_app}/app_recorded_steps.cpp RESOURCES)
