# SPDX-License-Identifier: MIT
# Instrumented builds, each in a build folder of its own:
#   TESSARO_SANITIZE  the whole project under AddressSanitizer and UndefinedBehaviorSanitizer,
#                     every undefined behaviour fatal (scripts/test --sanitize);
#   TESSARO_FUZZ      the same, plus libFuzzer's coverage in every library, for the
#                     fuzz targets of fuzz/ (clang only; scripts/fuzz).
option(TESSARO_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(TESSARO_FUZZ "Build the libFuzzer targets of fuzz/ (clang)" OFF)

if(TESSARO_SANITIZE OR TESSARO_FUZZ)
    set(TESSARO_SANITIZERS address,undefined,float-cast-overflow)
    add_compile_options(-fsanitize=${TESSARO_SANITIZERS} -fno-sanitize-recover=undefined
                        -fno-omit-frame-pointer)
    add_link_options(-fsanitize=${TESSARO_SANITIZERS})
endif()

if(TESSARO_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
        message(FATAL_ERROR "TESSARO_FUZZ needs clang (libFuzzer): -DCMAKE_CXX_COMPILER=clang++")
    endif()
    add_compile_options(-fsanitize=fuzzer-no-link)
endif()
