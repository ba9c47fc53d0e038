# Host tests of the wizard's portable parts: the number formatter and the space rules.
foreach(name wizard_format_number wizard_space_rules)
    velkaris_add_host_test(${name} ${CMAKE_CURRENT_LIST_DIR}/${name}_test.cpp
        LIBRARIES velkaris_wizard_portable_sanitized)
endforeach()
