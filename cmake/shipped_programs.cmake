# How the shipped programs reach the output folder. Without signing they are written there
# as linked; when the build signs (cmake/release_options.cmake), they are linked into the
# build tree and scripts/codesign writes the signed copy to the output folder and its
# detached signature to signatures/ there, or, given the signatures of a signed build,
# attaches them. Whatever is built from a shipped program (fingerprints, package,
# installer) depends on that copy, so a new certificate rebuilds everything after it.
# The files of the release in the output folder (the installer, its bill of materials, the
# package and its constants, the signatures and the signer's chain) are gathered in the
# global property VELKARIS_RELEASE_FILES, which SHA256SUMS lists.
set(_codesign "${PROJECT_SOURCE_DIR}/scripts/codesign")
velkaris_option_assignments(_codesign_environment "" ${VELKARIS_SIGN_OPTIONS})
set(_codesign_command ${CMAKE_COMMAND} -E env ${_codesign_environment}
    "SOURCE_DATE_EPOCH=${VELKARIS_SOURCE_DATE_EPOCH}" "${_codesign}")
set(_codesign_depends "${_codesign}" "${PROJECT_SOURCE_DIR}/scripts/signature-checks")
foreach(file VELKARIS_SIGN_PKCS12 VELKARIS_SIGN_PASSWORD_FILE VELKARIS_SIGN_PIN_FILE
        VELKARIS_SIGN_CERTIFICATE VELKARIS_SIGNATURES_CHAIN)
    if(${file})
        list(APPEND _codesign_depends "${${file}}")
    endif()
endforeach()
set(_unsigned_dir "${CMAKE_BINARY_DIR}/unsigned")
set(_signatures_dir "${VELKARIS_OUT_DIR}/signatures")
# One program is signed at a time: a token or HSM may serve one session only.
set_property(GLOBAL APPEND PROPERTY JOB_POOLS velkaris_codesign=1)

# The signer's chain beside the signatures, which every signature made or attached is
# checked against; given signatures bring theirs, unless the publisher's chain is named.
if(VELKARIS_SIGNING)
    set(_signer_chain "${_signatures_dir}/signer-chain.pem")
    set(_chain_depends ${_codesign_depends})
    if(VELKARIS_SIGNATURES AND NOT VELKARIS_SIGNATURES_CHAIN
       AND EXISTS "${VELKARIS_SIGNATURES}/signer-chain.pem")
        list(APPEND _chain_depends "${VELKARIS_SIGNATURES}/signer-chain.pem")
    endif()
    add_custom_command(
        OUTPUT "${_signer_chain}"
        COMMAND ${_codesign_command} --chain "${_signer_chain}"
        DEPENDS ${_chain_depends}
        COMMENT "Writing the signer's certificate chain"
        JOB_POOL velkaris_codesign
        VERBATIM)
    add_custom_target(velkaris_signer_chain ALL DEPENDS "${_signer_chain}")
    list(APPEND _codesign_depends "${_signer_chain}")
    set_property(GLOBAL APPEND PROPERTY VELKARIS_RELEASE_FILES "${_signer_chain}")
endif()

# The linker's map of each shipped program tells the bill of materials which third-party
# libraries went into it; the map is written beside the link and changes no byte of it.
set(_link_maps_dir "${CMAKE_BINARY_DIR}/link-maps")
file(MAKE_DIRECTORY "${_link_maps_dir}")
function(_velkaris_write_link_map target name)
    target_link_options(${target} PRIVATE "LINKER:-Map=${_link_maps_dir}/${name}.map")
    set_property(GLOBAL APPEND PROPERTY VELKARIS_LINK_MAPS "${name}=${_link_maps_dir}/${name}.map")
endfunction()

# _velkaris_sign(dependency in out comment [COMMAND...]): after the commands given, if any,
# the program at in (made by dependency, a target or a file) is signed (or its signature
# attached) into out, and its detached signature written to signatures/.
function(_velkaris_sign dependency in out comment)
    get_filename_component(name "${out}" NAME)
    set(signature "${_signatures_dir}/${name}.sig")
    set(depends ${dependency} ${_codesign_depends})
    # A signature missing from the given folder is named by scripts/codesign.
    if(VELKARIS_SIGNATURES AND EXISTS "${VELKARIS_SIGNATURES}/${name}.sig")
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
    set_property(GLOBAL APPEND PROPERTY VELKARIS_RELEASE_FILES "${signature}")
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
    set_property(GLOBAL APPEND PROPERTY VELKARIS_RELEASE_FILES "${file}" "${bill_of_materials}")
    _velkaris_ship_checksums(checksums)
    add_custom_target(${target}_shipped ALL DEPENDS "${file}" "${bill_of_materials}" "${checksums}")
endfunction()

# _velkaris_ship_checksums(result-var): SHA256SUMS in the output folder, the SHA-256 of every
# file of the release (scripts/release-checksums); result-var receives its path.
function(_velkaris_ship_checksums result_var)
    set(checksums "${VELKARIS_OUT_DIR}/SHA256SUMS")
    set(${result_var} "${checksums}" PARENT_SCOPE)
    set(script "${PROJECT_SOURCE_DIR}/scripts/release-checksums")
    get_property(files GLOBAL PROPERTY VELKARIS_RELEASE_FILES)
    add_custom_command(
        OUTPUT "${checksums}"
        COMMAND "${script}" "${VELKARIS_OUT_DIR}" ${files}
        DEPENDS "${script}" ${files}
        COMMENT "Writing the checksums of the release, ${checksums}"
        VERBATIM)
endfunction()

# _velkaris_ship_bill_of_materials(installer result-var): the bill of materials of the
# installer, of the pack it carries (the manifest pack/CMakeLists.txt writes) and of the
# third-party code linked into the programs this tree links, whose link maps are known by
# then: cmake/windows_tree.cmake adds pack/ before app/. The installer is built from all
# of them, so depending on it orders the command after every link that writes a map. The
# package and its files carry the pack's release version, which the installer registers
# as the installed pack's DisplayVersion (install/final_step.cpp).
set(VELKARIS_PACK_RELEASE_VERSION 2308)
function(_velkaris_ship_bill_of_materials installer result_var)
    get_filename_component(folder "${installer}" DIRECTORY)
    get_filename_component(stem "${installer}" NAME_WE)
    set(bill "${folder}/${stem}.cdx.json")
    set(${result_var} "${bill}" PARENT_SCOPE)
    set(script "${PROJECT_SOURCE_DIR}/scripts/bill-of-materials")
    set(manifest "${VELKARIS_OUT_DIR}/pack/package.manifest")
    set(package "${VELKARIS_OUT_DIR}/velkaris.pkg")
    get_property(maps GLOBAL PROPERTY VELKARIS_LINK_MAPS)
    set(map_args "")
    foreach(map ${maps})
        list(APPEND map_args --map "${map}")
    endforeach()
    add_custom_command(
        OUTPUT "${bill}"
        COMMAND "${script}" --installer "${installer}" --package "${package}"
                --manifest "${manifest}" --version "${PROJECT_VERSION}"
                --pack-version "${VELKARIS_PACK_RELEASE_VERSION}"
                --commit "${VELKARIS_SOURCE_COMMIT}" --time "${VELKARIS_SOURCE_DATE_EPOCH}"
                --lzma-prefix "${VELKARIS_LZMA_MINGW_PREFIX}" ${map_args} -o "${bill}"
        DEPENDS "${script}" "${installer}" "${package}" "${manifest}"
        COMMENT "Writing the bill of materials ${bill}"
        VERBATIM)
endfunction()
