# Release builds: a build signed through a token verifies against its certificate authority
# and installs, and a second build in another folder, given only its signatures, gives the
# same bytes.
set(_release_args "${PROJECT_SOURCE_DIR}" "${CMAKE_BINARY_DIR}")
# The signed build runs the host's toolchain, which the Wine 10 root does not carry, so this
# test runs under the host's Wine only.
velkaris_add_wine_test(NAME e2e.release_signed TIMEOUT 1500 RUNTIMES wine8
    COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/release_signed.sh ${_release_args}
            "${VELKARIS_OUT_DIR}/pack/Brinet.exe" "${VELKARIS_WINDOW_PROBE}")
