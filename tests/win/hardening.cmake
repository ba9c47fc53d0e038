# Hardening against hostile input: AppPath values of every registry type and length.
set(_hardening "${CMAKE_CURRENT_SOURCE_DIR}")
velkaris_add_windows_gtest(hardening_app_path_test ${_hardening}/hardening_app_path_test.cpp
    ${_hardening}/app_test_setup.cpp RESOURCES)
