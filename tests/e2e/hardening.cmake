# What the linked installer promises about itself: a 64-bit GUI program that imports only
# system DLLs, is hardened by the linker, and restricts DLL loading before anything else.
add_test(NAME e2e.hardening_binary
    COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/hardening_binary.sh ${VELKARIS_OUT_DIR}/VelkarisSetup.exe
            $<TARGET_FILE:VelkarisSetup> ${CMAKE_OBJDUMP})
# That every shipped program carries its manifest is the checks folder's check "manifests".
