# What a release build is given from outside: the time every time stamp it writes carries
# (scripts/source-date-epoch), and, to sign, a PKCS#12 file and the file holding its password.
# scripts/build passes them on each configure; the host tree hands them to the Windows tree.
set(VELKARIS_SOURCE_DATE_EPOCH "" CACHE STRING
    "Seconds since 1970 for every time stamp the build writes (default: the last commit's time)")
set(VELKARIS_SIGN_PKCS12 "" CACHE FILEPATH "PKCS#12 file to sign the shipped programs with")
set(VELKARIS_SIGN_PASSWORD_FILE "" CACHE FILEPATH "File holding the PKCS#12 file's password")
set(VELKARIS_SIGN_TIMESTAMP_URL "" CACHE STRING "RFC 3161 timestamp server for the signatures")

if(NOT VELKARIS_SOURCE_DATE_EPOCH)
    execute_process(COMMAND "${PROJECT_SOURCE_DIR}/scripts/source-date-epoch"
        OUTPUT_VARIABLE VELKARIS_SOURCE_DATE_EPOCH OUTPUT_STRIP_TRAILING_WHITESPACE
        RESULT_VARIABLE _epoch_result)
    if(NOT _epoch_result EQUAL 0)
        message(FATAL_ERROR "no time for the build's time stamps: set SOURCE_DATE_EPOCH")
    endif()
endif()

if(VELKARIS_SIGN_PKCS12 AND VELKARIS_SIGN_PASSWORD_FILE)
    set(VELKARIS_SIGNING ON)
elseif(VELKARIS_SIGN_PKCS12 OR VELKARIS_SIGN_PASSWORD_FILE)
    message(FATAL_ERROR "signing needs both VELKARIS_SIGN_PKCS12 and VELKARIS_SIGN_PASSWORD_FILE")
else()
    set(VELKARIS_SIGNING OFF)
endif()

# The arguments that give another tree of this project the same release options.
set(VELKARIS_RELEASE_ARGS
    -DVELKARIS_SOURCE_DATE_EPOCH=${VELKARIS_SOURCE_DATE_EPOCH}
    -DVELKARIS_SIGN_PKCS12=${VELKARIS_SIGN_PKCS12}
    -DVELKARIS_SIGN_PASSWORD_FILE=${VELKARIS_SIGN_PASSWORD_FILE}
    -DVELKARIS_SIGN_TIMESTAMP_URL=${VELKARIS_SIGN_TIMESTAMP_URL})
