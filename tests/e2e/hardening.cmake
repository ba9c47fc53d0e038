# What the linked installer promises about itself: a 64-bit GUI program that imports only
# system DLLs, is hardened by the linker, and restricts DLL loading before anything else.
add_test(NAME e2e.hardening_binary
    COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/hardening_binary.sh ${VELKARIS_OUT_DIR}/VelkarisSetup.exe
            $<TARGET_FILE:VelkarisSetup> ${CMAKE_OBJDUMP})
# Every program we build and ship carries its manifest: the installer and the programs of
# the pack (pack/CMakeLists.txt lists them).
get_property(_pack_programs GLOBAL PROPERTY VELKARIS_PACK_PROGRAMS)
add_test(NAME e2e.hardening_manifests
    COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/hardening_manifests.sh ${CMAKE_RC_COMPILER}
            ${VELKARIS_OUT_DIR}/VelkarisSetup.exe ${_pack_programs})
