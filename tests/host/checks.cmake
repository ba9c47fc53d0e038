# Host tests of the Windows checks' portable parts: the lines and the selection of checks,
# the JUnit report with GoogleTest's own suites folded in, read back by Python's XML parser,
# and the PNG writer, read back by ImageMagick.
velkaris_add_host_test(checks_report
    ${CMAKE_CURRENT_LIST_DIR}/checks_report_test.cpp
    ${PROJECT_SOURCE_DIR}/tests/checks/check_outcome.cpp
    ${PROJECT_SOURCE_DIR}/tests/checks/junit_report.cpp
    ${PROJECT_SOURCE_DIR}/tests/checks/png_encoder.cpp)
