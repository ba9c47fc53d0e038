# The installer's resources as compiled: dialog templates, icon, manifest, version record
# and the package resource.
set(_resources "${CMAKE_CURRENT_SOURCE_DIR}")
velkaris_add_windows_gtest(resources_test ${_resources}/resources_templates_test.cpp
    ${_resources}/resources_records_test.cpp ${_resources}/resources_dialog_template.cpp
    RESOURCES)
target_link_libraries(resources_test PRIVATE velkaris_package_constants comctl32 version)
