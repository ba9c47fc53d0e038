# The installation: the file writer, the folder, registry and shortcut helpers, the install
# steps (on the real page templates, hence RESOURCES).
set(_install "${CMAKE_CURRENT_SOURCE_DIR}")
velkaris_add_windows_gtest(install_file_writer_test ${_install}/install_file_writer_test.cpp
    ${_install}/install_test_files.cpp)
velkaris_add_windows_gtest(install_shell_helpers_test ${_install}/install_folder_chain_test.cpp
    ${_install}/install_user_registry_test.cpp ${_install}/install_shortcut_test.cpp
    ${_install}/install_test_files.cpp ${_install}/install_test_links.cpp
    ${_install}/test_registry.cpp)
velkaris_add_windows_gtest(install_text_test ${_install}/install_text_test.cpp)
velkaris_add_windows_gtest(install_steps_test ${_install}/install_steps_test.cpp
    ${PROJECT_SOURCE_DIR}/tests/checks/association_watch.cpp
    ${_install}/install_test_files.cpp ${_install}/install_test_links.cpp
    ${_install}/test_registry.cpp ${_install}/step_test_pages.cpp RESOURCES)
