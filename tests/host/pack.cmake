# Host tests of the sample pack's portable command-line code.
velkaris_add_host_test(pack_command_line
    ${CMAKE_CURRENT_LIST_DIR}/pack_command_line_test.cpp
    ${PROJECT_SOURCE_DIR}/pack/command_line.cpp)
