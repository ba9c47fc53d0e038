# Writes the header with the fingerprints of the applications the pack installs: for each
# file of FILES, in package order, its name without extension, its size and its SHA-256.
# The header holds neither paths nor times, so the same files always give the same bytes.
#   cmake -DFILES=<file>;<file>... -DOUTPUT=<header> -P write_fingerprints.cmake
if(NOT FILES OR NOT OUTPUT)
    message(FATAL_ERROR "usage: cmake -DFILES=<files> -DOUTPUT=<header> -P ${CMAKE_SCRIPT_MODE_FILE}")
endif()

list(LENGTH FILES count)
set(text "// The applications as the pack installs them: name, size in bytes and SHA-256 of each\n")
string(APPEND text "// file, in package order. Written by the build from the files it packs.\n")
string(APPEND text "#pragma once\n\n#include \"uninstall/application_fingerprint.h\"\n\n")
string(APPEND text "inline constexpr std::array<ApplicationFingerprint, ${count}> PackedApplications = {{\n")
foreach(file IN LISTS FILES)
    get_filename_component(name "${file}" NAME_WE)
    file(SIZE "${file}" size)
    file(SHA256 "${file}" digest)
    string(REGEX REPLACE "(..)" "0x\\1, " bytes "${digest}")
    string(SUBSTRING "${bytes}" 0 95 first_half)
    string(SUBSTRING "${bytes}" 96 94 second_half)
    string(APPEND text "    {L\"${name}\", ${size},\n     {${first_half}\n      ${second_half}}},\n")
endforeach()
string(APPEND text "}};\n")
file(WRITE "${OUTPUT}" "${text}")
