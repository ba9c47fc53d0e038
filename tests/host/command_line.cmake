# Host tests of the portable Windows command-line parser.
velkaris_add_host_test(command_line
    ${CMAKE_CURRENT_LIST_DIR}/command_line_test.cpp
    ${PROJECT_SOURCE_DIR}/command_line/command_line.cpp)
