# Faults met during the installation, end to end: files held open without sharing, a full
# and a read-only drive, registry keys that cannot be created. Each run checks the report,
# that nothing installed is lost, and that the next installation succeeds.
set(_faults_args "${VELKARIS_OUT_DIR}/VelkarisSetup.exe" "${VELKARIS_PACK_TOOL}"
    "${VELKARIS_OUT_DIR}/velkaris.pkg" "${VELKARIS_WINDOW_PROBE}" "${VELKARIS_FAULT_HOLDER}")
foreach(_test full held_open read_only registry)
    velkaris_add_wine_test(NAME e2e.faults_${_test}
        COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/faults_${_test}.sh ${_faults_args})
endforeach()
