# What a release build is given from outside: the time every time stamp it writes carries
# (scripts/source-date-epoch), the commit its bill of materials names, and, to sign, one
# source of signatures (scripts/codesign): a PKCS#12 file and its password file; a token's
# PKCS#11 library, key URI, PIN file and, unless the token has it, the certificate chain; or
# the detached signatures of a signed build, to attach instead of signing, and optionally
# the publisher's certificate chain to check them against. scripts/build passes them on
# each configure; the host tree hands them to the Windows tree.
set(VELKARIS_SOURCE_DATE_EPOCH "" CACHE STRING
    "Seconds since 1970 for every time stamp the build writes (default: the last commit's time)")
set(VELKARIS_SOURCE_COMMIT "" CACHE STRING
    "Commit the bill of materials names (default: the checkout's HEAD)")
set(VELKARIS_SIGN_PKCS12 "" CACHE FILEPATH "PKCS#12 file to sign the shipped programs with")
set(VELKARIS_SIGN_PASSWORD_FILE "" CACHE FILEPATH "File holding the PKCS#12 file's password")
set(VELKARIS_SIGN_PKCS11_MODULE "" CACHE FILEPATH "PKCS#11 library of the signing token")
set(VELKARIS_SIGN_KEY "" CACHE STRING "pkcs11: URI of the signing key on the token")
set(VELKARIS_SIGN_PIN_FILE "" CACHE FILEPATH "File holding the token's PIN")
set(VELKARIS_SIGN_CERTIFICATE "" CACHE FILEPATH
    "PEM certificate chain of the token's key (default: the certificate on the token)")
set(VELKARIS_SIGNATURES "" CACHE PATH "Detached signatures of a signed build to attach")
set(VELKARIS_SIGNATURES_CHAIN "" CACHE FILEPATH
    "The publisher's certificate chain to check the signatures against (default: theirs)")
set(VELKARIS_SIGN_TIMESTAMP_URL "" CACHE STRING
    "RFC 3161 timestamp servers for the signatures, separated by spaces, tried in order")

if(NOT VELKARIS_SOURCE_DATE_EPOCH)
    execute_process(COMMAND "${PROJECT_SOURCE_DIR}/scripts/source-date-epoch"
        OUTPUT_VARIABLE VELKARIS_SOURCE_DATE_EPOCH OUTPUT_STRIP_TRAILING_WHITESPACE
        RESULT_VARIABLE _epoch_result)
    if(NOT _epoch_result EQUAL 0)
        message(FATAL_ERROR "no time for the build's time stamps: set SOURCE_DATE_EPOCH")
    endif()
endif()
if(NOT VELKARIS_SOURCE_COMMIT)
    execute_process(COMMAND git -C "${PROJECT_SOURCE_DIR}" rev-parse --verify HEAD
        OUTPUT_VARIABLE VELKARIS_SOURCE_COMMIT OUTPUT_STRIP_TRAILING_WHITESPACE
        RESULT_VARIABLE _commit_result ERROR_QUIET)
    if(NOT _commit_result EQUAL 0)
        message(FATAL_ERROR "no commit for the bill of materials: set VELKARIS_SOURCE_COMMIT")
    endif()
endif()

# Which source of signatures, if any; scripts/codesign checks the files themselves.
set(_sign_sources "")
if(VELKARIS_SIGN_PKCS12 OR VELKARIS_SIGN_PASSWORD_FILE)
    if(NOT (VELKARIS_SIGN_PKCS12 AND VELKARIS_SIGN_PASSWORD_FILE))
        message(FATAL_ERROR
            "signing needs both VELKARIS_SIGN_PKCS12 and VELKARIS_SIGN_PASSWORD_FILE")
    endif()
    list(APPEND _sign_sources "a PKCS#12 file")
endif()
if(VELKARIS_SIGN_PKCS11_MODULE OR VELKARIS_SIGN_KEY OR VELKARIS_SIGN_PIN_FILE
   OR VELKARIS_SIGN_CERTIFICATE)
    if(NOT (VELKARIS_SIGN_PKCS11_MODULE AND VELKARIS_SIGN_KEY AND VELKARIS_SIGN_PIN_FILE))
        message(FATAL_ERROR "signing through a token needs VELKARIS_SIGN_PKCS11_MODULE, "
                            "VELKARIS_SIGN_KEY and VELKARIS_SIGN_PIN_FILE")
    endif()
    list(APPEND _sign_sources "a token")
endif()
if(VELKARIS_SIGNATURES OR VELKARIS_SIGNATURES_CHAIN)
    if(NOT VELKARIS_SIGNATURES)
        message(FATAL_ERROR "VELKARIS_SIGNATURES_CHAIN needs VELKARIS_SIGNATURES")
    endif()
    list(APPEND _sign_sources "signatures")
endif()
list(LENGTH _sign_sources _sign_source_count)
if(_sign_source_count GREATER 1)
    message(FATAL_ERROR "sign with one source only, not ${_sign_sources}")
endif()
if(_sign_source_count EQUAL 1)
    set(VELKARIS_SIGNING ON)
else()
    set(VELKARIS_SIGNING OFF)
endif()

# The options scripts/codesign reads from its environment, under the same names.
set(VELKARIS_SIGN_OPTIONS VELKARIS_SIGN_PKCS12 VELKARIS_SIGN_PASSWORD_FILE
    VELKARIS_SIGN_PKCS11_MODULE VELKARIS_SIGN_KEY VELKARIS_SIGN_PIN_FILE
    VELKARIS_SIGN_CERTIFICATE VELKARIS_SIGNATURES VELKARIS_SIGNATURES_CHAIN
    VELKARIS_SIGN_TIMESTAMP_URL)

# velkaris_option_assignments(result prefix options...): "<prefix>NAME=value" for each option,
# for a command line. A pkcs11: URI separates its attributes with ';', which is CMake's list
# separator: it is written as $<SEMICOLON>, which the command's generator expressions turn
# back into ';', so that each value stays one argument.
function(velkaris_option_assignments result prefix)
    set(assignments "")
    foreach(option ${ARGN})
        string(REPLACE ";" "$<SEMICOLON>" value "${${option}}")
        list(APPEND assignments "${prefix}${option}=${value}")
    endforeach()
    set(${result} "${assignments}" PARENT_SCOPE)
endfunction()

# The arguments that give another tree of this project the same release options.
velkaris_option_assignments(VELKARIS_RELEASE_ARGS -D VELKARIS_SOURCE_DATE_EPOCH
    VELKARIS_SOURCE_COMMIT ${VELKARIS_SIGN_OPTIONS})
