# Host tests of the package tool: its parts called directly, the whole tool run in the test
# process, its streams checked against the xz command, and its reading of installers.
foreach(name pack_tool pack_tool_parts pack_tool_xz pack_tool_pe)
    velkaris_add_host_test(${name}
        ${CMAKE_CURRENT_LIST_DIR}/${name}_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/pack_tool_fixture.cpp
        ${CMAKE_CURRENT_LIST_DIR}/pack_tool_pe_fixture.cpp
        ${CMAKE_CURRENT_LIST_DIR}/package_fixture.cpp
        LIBRARIES velkaris_pack_core_sanitized velkaris_package_sanitized)
endforeach()
target_compile_definitions(pack_tool_test PRIVATE VELKARIS_PACK_TOOL_PATH="$<TARGET_FILE:velkaris-pack>")
add_dependencies(pack_tool_test velkaris-pack)
