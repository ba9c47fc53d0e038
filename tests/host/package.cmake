# Host tests of the portable package code; synthetic packages come from the tool's encoder.
velkaris_add_host_test(package_format
    ${CMAKE_CURRENT_LIST_DIR}/package_format_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/package_fixture.cpp
    LIBRARIES velkaris_pack_core_sanitized velkaris_package_sanitized)
velkaris_add_host_test(package_loader
    ${CMAKE_CURRENT_LIST_DIR}/package_loader_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/package_fixture.cpp
    LIBRARIES velkaris_pack_core_sanitized velkaris_package_sanitized)
