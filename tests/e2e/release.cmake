# Release builds: a build signed through a token verifies against its certificate authority
# and installs, and a second build in another folder, given only its signatures, gives the
# same bytes.
set(_release_args "${PROJECT_SOURCE_DIR}" "${CMAKE_BINARY_DIR}")
# The signed build runs the host's toolchain, which the Wine 10 root does not carry, so this
# test runs under the host's Wine only.
velkaris_add_wine_test(NAME e2e.release_signed TIMEOUT 1500 RUNTIMES wine8
    COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/release_signed.sh ${_release_args}
            "${VELKARIS_OUT_DIR}/pack/Brinet.exe" "${VELKARIS_WINDOW_PROBE}")
# A publisher's own programs through scripts/build --pack: bad packs refused with one line,
# and an installer of eight programs that are not this project's, installed and uninstalled.
# It builds with the host's toolchain too, so under the host's Wine only.
velkaris_add_wine_test(NAME e2e.release_publisher TIMEOUT 900 RUNTIMES wine8
    COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/release_publisher.sh "${PROJECT_SOURCE_DIR}"
            "${VELKARIS_WINDOW_PROBE}" "${VELKARIS_PACK_TOOL}")
