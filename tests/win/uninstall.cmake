# The uninstaller's Windows edges: reading and removing per-user registry values and keys,
# deleting files, folders and shortcuts, with what stays and what is reported, and what
# Windows enforces where Wine does not; the hand-off to the helper and the removals
# arranged for the next logon.
velkaris_add_windows_gtest(uninstall_removal_test
    ${CMAKE_CURRENT_SOURCE_DIR}/uninstall_registry_test.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/uninstall_files_test.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/uninstall_windows_rules_test.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/uninstall_handoff_test.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/install_test_files.cpp)
target_link_libraries(uninstall_removal_test PRIVATE velkaris_uninstall_core)
