# Each fuzzer of fuzz/ runs for a few seconds on a copy of its seed corpus in this build
# folder; a crash, a broken property, a sanitizer report or a leak fails the test. The
# fuzzers are built by fuzz/CMakeLists.txt into the fuzz/clang folder of the build tree.
set(_fuzz_source "${PROJECT_SOURCE_DIR}/fuzz")
set(_fuzz_binary "${CMAKE_BINARY_DIR}/fuzz/clang")

# velkaris_add_fuzz_test(name seed-folder [extra-seed-file])
function(velkaris_add_fuzz_test name seed_dir)
    add_test(NAME host.fuzz_${name}
             COMMAND ${CMAKE_COMMAND} -DFUZZER=${_fuzz_binary}/${name}
                     -DSEED_DIR=${_fuzz_source}/corpus/${seed_dir} -DEXTRA_SEED=${ARGN}
                     -DWORK=${CMAKE_CURRENT_BINARY_DIR}/fuzz_${name} -DSECONDS=8
                     -P ${_fuzz_source}/run_fuzzer.cmake)
endfunction()

# The three loader fuzzers share the package seeds; the shipped package joins them for the
# fuzzer that carries its constants.
velkaris_add_fuzz_test(loader_shipped package ${VELKARIS_OUT_DIR}/velkaris.pkg)
velkaris_add_fuzz_test(loader_seed package)
velkaris_add_fuzz_test(loader_derived package)
velkaris_add_fuzz_test(manifest manifest)
velkaris_add_fuzz_test(constants_header constants_header)
velkaris_add_fuzz_test(pe_resource pe)
velkaris_add_fuzz_test(sample_command_line sample_command_line)
