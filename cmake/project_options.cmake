# Compiler settings shared by every target of this project. The source and build folders
# are renamed in __FILE__ and the debug information, so that no build path reaches a binary.
function(velkaris_target_defaults target)
    target_compile_features(${target} PRIVATE cxx_std_20)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Werror
                           -ffile-prefix-map=${PROJECT_SOURCE_DIR}=.
                           -ffile-prefix-map=${PROJECT_BINARY_DIR}=build)
    target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR})
endfunction()

# Host code that tests link is built a second time with AddressSanitizer and UBSan.
set(VELKARIS_SANITIZER_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=all
    -fno-omit-frame-pointer)
function(velkaris_sanitize target)
    target_compile_options(${target} PRIVATE ${VELKARIS_SANITIZER_FLAGS})
    target_link_options(${target} PRIVATE ${VELKARIS_SANITIZER_FLAGS})
endfunction()

# Windows code of the installer: no exceptions, no RTTI, Unicode, no C++ runtime DLLs, and
# the hardening the toolchain offers: stack protector, fortified string calls, ASLR with
# high entropy and NX; no link time in the PE header, so the same sources give the same
# bytes. The link options are public so that test programs linking the installer's library
# bring the stack protector's runtime too.
function(velkaris_windows_defaults target)
    velkaris_target_defaults(${target})
    target_compile_definitions(${target} PRIVATE UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX
                               _WIN32_WINNT=0x0A00 LZMA_API_STATIC _FORTIFY_SOURCE=2)
    target_compile_options(${target} PRIVATE -fstack-protector-strong
                           $<$<COMPILE_LANGUAGE:CXX>:-fno-exceptions -fno-rtti>)
    target_link_options(${target} PUBLIC -static -static-libgcc -static-libstdc++
                        -fstack-protector-strong
                        -Wl,--dynamicbase,--high-entropy-va,--nxcompat,--no-insert-timestamp)
endfunction()
