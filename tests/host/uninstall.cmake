# Host tests of the uninstaller's portable logic: paths and commands, the registry plan,
# its command line, the commands run at the next logon, what becomes of a folder, and its
# report.
add_library(velkaris_uninstall_logic_sanitized STATIC
    ${PROJECT_SOURCE_DIR}/command_line/command_line.cpp
    ${PROJECT_SOURCE_DIR}/uninstall/command_paths.cpp
    ${PROJECT_SOURCE_DIR}/uninstall/folder_fate.cpp
    ${PROJECT_SOURCE_DIR}/uninstall/logon_command.cpp
    ${PROJECT_SOURCE_DIR}/uninstall/removal_outcome.cpp
    ${PROJECT_SOURCE_DIR}/uninstall/removal_plan.cpp
    ${PROJECT_SOURCE_DIR}/uninstall/uninstall_request.cpp)
velkaris_target_defaults(velkaris_uninstall_logic_sanitized)
velkaris_sanitize(velkaris_uninstall_logic_sanitized)

velkaris_add_host_test(uninstall_logic
    ${CMAKE_CURRENT_LIST_DIR}/uninstall_paths_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/uninstall_plan_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/uninstall_request_test.cpp
    LIBRARIES velkaris_uninstall_logic_sanitized)
