# How the shipped programs reach the output folder. Without signing they are written there
# as linked; when the build signs (cmake/release_options.cmake), they are linked into the
# build tree and scripts/codesign writes the signed copy to the output folder. Whatever is
# built from a shipped program (fingerprints, package, installer) depends on that copy, so a
# new certificate rebuilds everything after it.
set(_codesign "${PROJECT_SOURCE_DIR}/scripts/codesign")
set(_codesign_command ${CMAKE_COMMAND} -E env
    "VELKARIS_SIGN_PKCS12=${VELKARIS_SIGN_PKCS12}"
    "VELKARIS_SIGN_PASSWORD_FILE=${VELKARIS_SIGN_PASSWORD_FILE}"
    "VELKARIS_SIGN_TIMESTAMP_URL=${VELKARIS_SIGN_TIMESTAMP_URL}"
    "SOURCE_DATE_EPOCH=${VELKARIS_SOURCE_DATE_EPOCH}"
    "${_codesign}")
set(_codesign_depends "${_codesign}" "${VELKARIS_SIGN_PKCS12}" "${VELKARIS_SIGN_PASSWORD_FILE}")
set(_unsigned_dir "${CMAKE_BINARY_DIR}/unsigned")

# velkaris_ship_program(target folder result-var): the program of target goes to folder as
# <OUTPUT_NAME>.exe; result-var receives that path for the commands that read it.
function(velkaris_ship_program target folder result_var)
    get_target_property(name ${target} OUTPUT_NAME)
    set(shipped "${folder}/${name}.exe")
    set(${result_var} "${shipped}" PARENT_SCOPE)
    if(NOT VELKARIS_SIGNING)
        set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${folder}")
        return()
    endif()
    set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${_unsigned_dir}")
    add_custom_command(
        OUTPUT "${shipped}"
        COMMAND ${_codesign_command} $<TARGET_FILE:${target}> "${shipped}"
        DEPENDS ${target} ${_codesign_depends}
        COMMENT "Signing ${name}.exe"
        VERBATIM)
    add_custom_target(${target}_signed ALL DEPENDS "${shipped}")
endfunction()

# velkaris_ship_stripped(target file): the program of target, without its symbols, goes to
# file (signed when the build signs) through the target <target>_shipped. objcopy writes the
# current time into the PE header unless SOURCE_DATE_EPOCH is set; 0 leaves the field empty,
# as the linker does with --no-insert-timestamp.
function(velkaris_ship_stripped target file)
    get_filename_component(name "${file}" NAME)
    set(strip_step COMMAND ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=0
                   ${CMAKE_OBJCOPY} --strip-all $<TARGET_FILE:${target}>)
    if(VELKARIS_SIGNING)
        set(stripped "${_unsigned_dir}/${name}")
        set(steps COMMAND ${CMAKE_COMMAND} -E make_directory "${_unsigned_dir}"
                  ${strip_step} "${stripped}"
                  COMMAND ${_codesign_command} "${stripped}" "${file}")
        set(depends ${_codesign_depends})
        set(comment "Stripping and signing ${name}")
    else()
        set(steps ${strip_step} "${file}")
        set(depends "")
        set(comment "Stripping ${name}")
    endif()
    add_custom_command(OUTPUT "${file}" ${steps} DEPENDS ${target} ${depends}
                       COMMENT "${comment} into ${file}" VERBATIM)
    add_custom_target(${target}_shipped ALL DEPENDS "${file}")
endfunction()
