# How the shipped programs reach the output folder. Without signing they are written there
# as linked; when the build signs (cmake/release_options.cmake), they are linked into the
# build tree and scripts/codesign writes the signed copy to the output folder and its
# detached signature to signatures/ there, or, given the signatures of a signed build,
# attaches them. Whatever is built from a shipped program (fingerprints, package,
# installer) depends on that copy, so a new certificate rebuilds everything after it.
set(_codesign "${PROJECT_SOURCE_DIR}/scripts/codesign")
velkaris_option_assignments(_codesign_environment "" ${VELKARIS_SIGN_OPTIONS})
set(_codesign_command ${CMAKE_COMMAND} -E env ${_codesign_environment}
    "SOURCE_DATE_EPOCH=${VELKARIS_SOURCE_DATE_EPOCH}" "${_codesign}")
set(_codesign_depends "${_codesign}")
foreach(file VELKARIS_SIGN_PKCS12 VELKARIS_SIGN_PASSWORD_FILE VELKARIS_SIGN_PIN_FILE
        VELKARIS_SIGN_CERTIFICATE)
    if(${file})
        list(APPEND _codesign_depends "${${file}}")
    endif()
endforeach()
set(_unsigned_dir "${CMAKE_BINARY_DIR}/unsigned")
set(_signatures_dir "${VELKARIS_OUT_DIR}/signatures")
# One program is signed at a time: a token or HSM may serve one session only.
set_property(GLOBAL APPEND PROPERTY JOB_POOLS velkaris_codesign=1)

# The linker's map of each shipped program tells the bill of materials which third-party
# libraries went into it; the map is written beside the link and changes no byte of it.
set(_link_maps_dir "${CMAKE_BINARY_DIR}/link-maps")
file(MAKE_DIRECTORY "${_link_maps_dir}")
function(_velkaris_write_link_map target name)
    target_link_options(${target} PRIVATE "LINKER:-Map=${_link_maps_dir}/${name}.map")
    set_property(GLOBAL APPEND PROPERTY VELKARIS_LINK_MAPS "${name}=${_link_maps_dir}/${name}.map")
endfunction()

# _velkaris_sign(target in out comment [COMMAND...]): after the commands given, if any, the
# program of target at in is signed (or its signature attached) into out.
function(_velkaris_sign target in out comment)
    get_filename_component(name "${out}" NAME)
    set(signature "${_signatures_dir}/${name}.sig")
    set(depends ${target} ${_codesign_depends})
    if(VELKARIS_SIGNATURES)
        list(APPEND depends "${VELKARIS_SIGNATURES}/${name}.sig")
    endif()
    add_custom_command(
        OUTPUT "${out}" "${signature}"
        ${ARGN}
        COMMAND ${_codesign_command} "${in}" "${out}" "${signature}"
        DEPENDS ${depends}
        COMMENT "${comment}"
        JOB_POOL velkaris_codesign
        VERBATIM)
endfunction()

# velkaris_ship_program(target folder result-var): the program of target goes to folder as
# <OUTPUT_NAME>.exe; result-var receives that path for the commands that read it.
function(velkaris_ship_program target folder result_var)
    get_target_property(name ${target} OUTPUT_NAME)
    set(shipped "${folder}/${name}.exe")
    set(${result_var} "${shipped}" PARENT_SCOPE)
    _velkaris_write_link_map(${target} "${name}.exe")
    if(NOT VELKARIS_SIGNING)
        set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${folder}")
        return()
    endif()
    set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${_unsigned_dir}")
    _velkaris_sign(${target} $<TARGET_FILE:${target}> "${shipped}" "Signing ${name}.exe")
    add_custom_target(${target}_signed ALL DEPENDS "${shipped}")
endfunction()

# velkaris_ship_stripped(target file): the program of target, without its symbols, goes to
# file (signed when the build signs) through the target <target>_shipped, and beside it its
# bill of materials, <name>.cdx.json (scripts/bill-of-materials). objcopy writes the
# current time into the PE header unless SOURCE_DATE_EPOCH is set; 0 leaves the field empty,
# as the linker does with --no-insert-timestamp.
function(velkaris_ship_stripped target file)
    get_filename_component(name "${file}" NAME)
    _velkaris_write_link_map(${target} "${name}")
    set(strip_step COMMAND ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=0
                   ${CMAKE_OBJCOPY} --strip-all $<TARGET_FILE:${target}>)
    if(VELKARIS_SIGNING)
        set(stripped "${_unsigned_dir}/${name}")
        _velkaris_sign(${target} "${stripped}" "${file}"
            "Stripping and signing ${name} into ${file}"
            COMMAND ${CMAKE_COMMAND} -E make_directory "${_unsigned_dir}"
            ${strip_step} "${stripped}")
    else()
        add_custom_command(OUTPUT "${file}" ${strip_step} "${file}" DEPENDS ${target}
                           COMMENT "Stripping ${name} into ${file}" VERBATIM)
    endif()
    _velkaris_ship_bill_of_materials("${file}" bill_of_materials)
    add_custom_target(${target}_shipped ALL DEPENDS "${file}" "${bill_of_materials}")
endfunction()

# _velkaris_ship_bill_of_materials(installer result-var): the bill of materials of the
# installer, of the pack it carries (the manifest pack/CMakeLists.txt writes) and of the
# third-party code linked into the programs this tree links, whose link maps are known by
# then: cmake/windows_tree.cmake adds pack/ before app/. The installer is built from all
# of them, so depending on it orders the command after every link that writes a map.
function(_velkaris_ship_bill_of_materials installer result_var)
    get_filename_component(folder "${installer}" DIRECTORY)
    get_filename_component(stem "${installer}" NAME_WE)
    set(bill "${folder}/${stem}.cdx.json")
    set(${result_var} "${bill}" PARENT_SCOPE)
    set(script "${PROJECT_SOURCE_DIR}/scripts/bill-of-materials")
    set(manifest "${VELKARIS_OUT_DIR}/pack/package.manifest")
    get_property(maps GLOBAL PROPERTY VELKARIS_LINK_MAPS)
    set(map_args "")
    foreach(map ${maps})
        list(APPEND map_args --map "${map}")
    endforeach()
    add_custom_command(
        OUTPUT "${bill}"
        COMMAND "${script}" --installer "${installer}" --manifest "${manifest}"
                --version "${PROJECT_VERSION}" --commit "${VELKARIS_SOURCE_COMMIT}"
                --time "${VELKARIS_SOURCE_DATE_EPOCH}"
                --lzma-prefix "${VELKARIS_LZMA_MINGW_PREFIX}" ${map_args} -o "${bill}"
        DEPENDS "${script}" "${installer}" "${manifest}"
        COMMENT "Writing the bill of materials ${bill}"
        VERBATIM)
endfunction()
