# Host tests of the wizard's portable parts: the number formatter and the space rules.
if(NOT TARGET velkaris_wizard_portable_sanitized)
    add_subdirectory(${PROJECT_SOURCE_DIR}/wizard ${CMAKE_BINARY_DIR}/wizard)
endif()

foreach(name wizard_format_number wizard_space_rules)
    add_executable(${name}_test ${CMAKE_CURRENT_LIST_DIR}/${name}_test.cpp)
    velkaris_target_defaults(${name}_test)
    velkaris_sanitize(${name}_test)
    target_link_libraries(${name}_test PRIVATE velkaris_wizard_portable_sanitized GTest::gtest_main)
    add_test(NAME host.${name} COMMAND ${name}_test)
endforeach()
