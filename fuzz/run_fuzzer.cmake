# Runs one fuzzer for a bounded time on a fresh copy of its seed corpus, in a folder of its
# own, and fails on any crash, sanitizer report, leak or slow input. The input that failed
# stays in that folder as crash-*, leak-* or timeout-*; the grown corpus in corpus/.
#   cmake -DFUZZER=program -DSEED_DIR=folder [-DEXTRA_SEED=file] -DWORK=folder
#         -DSECONDS=n -P run_fuzzer.cmake
foreach(required FUZZER SEED_DIR WORK SECONDS)
    if(NOT DEFINED ${required})
        message(FATAL_ERROR "run_fuzzer.cmake needs -D${required}=...")
    endif()
endforeach()

file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}/corpus")
file(GLOB _seeds "${SEED_DIR}/*")
file(COPY ${_seeds} ${EXTRA_SEED} DESTINATION "${WORK}/corpus")

# TMPDIR keeps whatever a fuzzer writes on the way inside its folder.
execute_process(
    COMMAND "${CMAKE_COMMAND}" -E env "TMPDIR=${WORK}"
            "${FUZZER}" -max_total_time=${SECONDS} -timeout=20 -error_exitcode=77
            -timeout_exitcode=78 -detect_leaks=1 -print_final_stats=1
            "-artifact_prefix=${WORK}/" "${WORK}/corpus"
    WORKING_DIRECTORY "${WORK}"
    RESULT_VARIABLE _result)
if(NOT _result EQUAL 0)
    message(FATAL_ERROR "${FUZZER} failed (${_result}); the failing input is in ${WORK}")
endif()
