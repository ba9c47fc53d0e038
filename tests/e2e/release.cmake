# Release builds of a publisher's pack through scripts/build --pack: a release signed through
# a token verifies against its signer's chain, installs and uninstalls, and a second build
# in another folder, given only its signatures, gives the same bytes; bad packs, output
# folders and signatures are refused with one line. Both tests build in build/publisher/:
# the signed one after the other, reusing what it compiled there. They run the host's
# toolchain, which the Wine 10 root does not carry, so they run under the host's Wine only.
set(_release_args "${PROJECT_SOURCE_DIR}" "${CMAKE_BINARY_DIR}" "${VELKARIS_WINDOW_PROBE}"
    "${VELKARIS_PACK_TOOL}")
velkaris_add_wine_test(NAME e2e.release_signed TIMEOUT 1200 RUNTIMES wine8
    COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/release_signed.sh ${_release_args})
velkaris_add_wine_test(NAME e2e.release_publisher TIMEOUT 600 RUNTIMES wine8
    COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/release_publisher.sh ${_release_args})
set_tests_properties(e2e.release_signed.wine8 PROPERTIES DEPENDS e2e.release_publisher.wine8)
