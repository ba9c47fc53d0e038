# Hardening against hostile input: AppPath values of every registry type and length.
set(_hardening "${CMAKE_CURRENT_SOURCE_DIR}")
velkaris_add_windows_gtest(hardening_app_path_test ${_hardening}/hardening_app_path_test.cpp
    ${_hardening}/app_test_setup.cpp RESOURCES)
# Every fixed path buffer filled to its last unit and one beyond.
velkaris_add_windows_gtest(hardening_buffers_test ${_hardening}/hardening_buffers_test.cpp
    ${_hardening}/app_test_setup.cpp ${_hardening}/install_test_files.cpp
    ${_hardening}/install_test_links.cpp ${_hardening}/test_registry.cpp ${_hardening}/step_test_pages.cpp RESOURCES)
